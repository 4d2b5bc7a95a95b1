#include "portfixtures.h"

#include <QSettings>
#include <QTest>

namespace {
// The port watch reads the list once a second.
constexpr int kReadTimeoutMs = 5000;
} // namespace

SerialPortDescription fcPort(const QString &portName)
{
    SerialPortDescription port;
    port.portName = portName;
    port.manufacturer = QStringLiteral("ZEFA");
    return port;
}

ListedPorts::ListedPorts(QList<SerialPortDescription> listed) : ports(std::move(listed))
{
    setSerialPortLister([this] {
        ++reads;
        return ports;
    });
}

ListedPorts::~ListedPorts()
{
    setSerialPortLister({});
}

bool ListedPorts::waitForReads(int count)
{
    const int target = reads + count;
    return QTest::qWaitFor([&] { return reads >= target; }, kReadTimeoutMs * count);
}

SettingsFolder::SettingsFolder()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}
