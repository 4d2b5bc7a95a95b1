#include "serial/portchoice.h"

#include <QSettings>

#include <memory>

namespace {

const char kNamedPortKey[] = "connection/port";
const char kAutoConnectKey[] = "connection/autoConnect";

// Not the application's names: the command line and the suites read the same
// file whether or not they set them.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("ZEFA Robotics"), QStringLiteral("ZEFA GCS"));
}

} // namespace

QString PortChoice::namedPort()
{
    return settings()->value(QLatin1String(kNamedPortKey)).toString().trimmed();
}

void PortChoice::setNamedPort(const QString &portName)
{
    settings()->setValue(QLatin1String(kNamedPortKey), portName.trimmed());
}

bool PortChoice::connectsAutomatically()
{
    return settings()->value(QLatin1String(kAutoConnectKey), false).toBool();
}

void PortChoice::setConnectsAutomatically(bool on)
{
    settings()->setValue(QLatin1String(kAutoConnectKey), on);
}
