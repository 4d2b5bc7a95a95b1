#pragma once

#include "restoreplan.h"

#include "mavlink/mavlinkbridge.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

class HeartbeatWatch;

// Writes planned values one at a time with the FC's own type. Each write
// waits for the FC's echo of that name and value and is sent again when
// none comes; when the echoes stay away, reads of the name confirm what the
// FC holds. Before every write the FC must have sent a heartbeat lately and
// must not report itself armed.
class ParamWriter : public QObject
{
    Q_OBJECT

public:
    enum class Ending
    {
        Done,
        Cancelled,
        Armed,
        NoHeartbeat,
    };
    Q_ENUM(Ending)

    ParamWriter(MavLinkBridge &bridge, HeartbeatWatch &heartbeat, QObject *parent = nullptr);

    void start(const QList<PlannedWrite> &writes);
    // At once, without waiting for anything.
    void stop();
    // After the write in flight has been confirmed or has waited out its
    // time; it is not sent again.
    void cancel();

    bool anySent() const { return sent; }
    const QStringList &confirmedNames() const { return confirmed; }
    // "NAME (the FC reports 3)" for each write the FC did not confirm.
    const QStringList &unconfirmedNames() const { return unconfirmed; }
    int notWrittenCount() const { return planned.size() - confirmed.size() - unconfirmed.size(); }
    int plannedCount() const { return planned.size(); }

signals:
    void progress(int done, int total);
    void finished(ParamWriter::Ending ending);

private slots:
    void parameterReported(ParameterReport report);
    void sendAttempt();
    void attemptTimedOut();
    void heartbeatArrived();
    void heartbeatMissing();

private:
    bool mayWrite();
    bool fcAlive() const;
    void concludeCurrent(bool wasConfirmed);
    void recordCurrent(bool wasConfirmed);
    void startNext();
    void finish(Ending ending);
    const PlannedWrite &current() const { return planned.at(currentIndex); }

    MavLinkBridge &bridge;
    HeartbeatWatch &heartbeat;
    QList<PlannedWrite> planned;
    int currentIndex = -1;
    int attempts = 0;
    bool lastReportKnown = false;
    float lastReported = 0.0f;
    bool writing = false;
    bool cancelRequested = false;
    bool sent = false;
    bool awaitingHeartbeat = false;
    QStringList confirmed;
    QStringList unconfirmed;
    QTimer sendTurn;
    QTimer echoWait;
};
