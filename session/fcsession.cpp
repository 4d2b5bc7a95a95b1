#include "session/fcsession.h"

#include "fc/firmware.h"

#include <cmath>

FcSession::FcSession(QObject *parent)
    : QObject(parent), store(mavlink), fcLink(mavlink, this), watch(mavlink, store),
      paramWriter(mavlink, store, watch, &changeJournal), turns(paramWriter)
{
    // The link is the session's child, so the window's tree holds the port.
    connect(&store, &ParameterStore::parameterReceived, this, &FcSession::checkFirmware);
}

bool FcSession::open()
{
    if (!fcLink.open())
        return false;
    watch.restart();
    return true;
}

void FcSession::close()
{
    turns.clear();
    fcLink.close();
    store.clear();
}

// Before any feature hears of the report: a run waiting for the version
// learns of the close instead. A value that is no number tells no version.
void FcSession::checkFirmware(const ParameterReport &report)
{
    if (report.name == QLatin1String(Fc::kFirmwareVersionParam) && std::isfinite(report.value) &&
        !Fc::isSupportedFirmware(report.value))
        emit unsupportedFirmwareReported();
}

void FcSession::routeStatusText(int severity, const QString &text)
{
    if (severity == MavSeverity::Notice)
        emit calibrationTextReceived(text);
    else if (severity == MavSeverity::Error)
        emit selfTestTextReceived(text);
}
