#pragma once

#include "mavlink/mavlinkbridge.h"
#include "params/changejournal.h"
#include "params/heartbeatwatch.h"
#include "params/parameterstore.h"
#include "params/paramwriter.h"
#include "params/writeturns.h"
#include "serial/fclink.h"

#include <QObject>

// One FC on one link: the bridge that speaks to it, the link, what it has
// reported (the parameter store), its heartbeats and the one confirmed
// writer that every feature writes through, a turn at a time, each run
// recorded in the user's change journal. It applies
// the firmware rule and routes the FC's status texts. Shows nothing: the
// window and the command line drive it.
class FcSession : public QObject
{
    Q_OBJECT

public:
    explicit FcSession(QObject *parent = nullptr);

    MavLinkBridge &bridge() { return mavlink; }
    FcLink &link() { return fcLink; }
    ParameterStore &parameters() { return store; }
    HeartbeatWatch &heartbeat() { return watch; }
    WriteTurns &writeTurns() { return turns; }
    ParamWriter &writer() { return paramWriter; }
    ChangeJournal &journal() { return changeJournal; }

    bool isOpen() const { return fcLink.port()->isOpen(); }
    // Opens the link; nothing of an earlier FC is known then.
    bool open();
    // Ends every write, closes the link and forgets what the FC reported.
    void close();

    // The FC walks the accelerometer calibration in notices and reports its
    // pre-arm checks as errors; other texts are not for the pages.
    void routeStatusText(int severity, const QString &text);

signals:
    // Only the firmware this assistant was made for keeps the link: the FC
    // reported another version, and the link is to be closed.
    void unsupportedFirmwareReported();
    void calibrationTextReceived(const QString &text);
    void selfTestTextReceived(const QString &text);

private slots:
    void checkFirmware(const ParameterReport &report);

private:
    MavLinkBridge mavlink;
    ParameterStore store;
    FcLink fcLink;
    HeartbeatWatch watch;
    ChangeJournal changeJournal;
    ParamWriter paramWriter;
    WriteTurns turns;
};
