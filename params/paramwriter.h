#pragma once

#include "heartbeatwatch.h"
#include "restoreplan.h"

#include "mavlink/mavlinkbridge.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ParameterStore;

// A write the FC did not confirm, and what it reported instead if anything.
struct UnconfirmedWrite
{
    PlannedWrite write;
    bool reported = false;
    float reportedValue = 0.0f;
};

// Writes planned values with the type each one gives. Each write waits for
// the FC's echo of that name and value, compared in that type, and is sent
// again when none comes; when the echoes stay away, reads of the name
// confirm what the FC holds.
//
// A restore goes one write at a time, each attempt only while the FC has
// sent a heartbeat lately and does not report itself armed. A page's Save
// sends all its first attempts at once (sendFirstAttempts), as the pages
// always have, and the writer then confirms them in order. There another
// value than the one written sends the write again at once when it answers
// the first attempt (it may answer a Read made just before the Save), and
// ends it as refused or clamped when it answers a later one.
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

    enum class Pace
    {
        OneAtATime,
        FirstAttemptsSent,
    };

    ParamWriter(MavLinkBridge &bridge, ParameterStore &store, HeartbeatWatch &heartbeat,
                QObject *parent = nullptr);

    void start(const QList<PlannedWrite> &writes, Pace pace = Pace::OneAtATime);
    // Every write's first attempt, at once and unconditionally, for a run
    // that starts with Pace::FirstAttemptsSent.
    void sendFirstAttempts(const QList<PlannedWrite> &writes);
    // At once, without waiting for anything.
    void stop();
    // After the write in flight has been confirmed or has waited out its
    // time; it is not sent again.
    void cancel();

    bool anySent() const { return sent; }
    const QStringList &confirmedNames() const { return confirmed; }
    // "NAME (the FC reports 3)" for each write the FC did not confirm.
    QStringList unconfirmedNames() const;
    const QList<UnconfirmedWrite> &unconfirmedWrites() const { return unconfirmed; }
    int notWrittenCount() const { return planned.size() - confirmed.size() - unconfirmed.size(); }
    int plannedCount() const { return planned.size(); }
    // "Written and confirmed: 3 of 4. Not confirmed: ... Not written: ..."
    QString summary() const;

signals:
    void progress(int done, int total);
    void finished(ParamWriter::Ending ending);

private slots:
    void parameterReported(const ParameterReport &report);
    void sendAttempt();
    void attemptNotConfirmed();
    void heartbeatArrived();
    void heartbeatMissing();

private:
    bool mayWrite();
    void awaitBatchedEcho();
    void judgeReport(float value);
    void otherValueInBatch();
    bool fcAlive() const;
    int echoTimeoutMs() const;
    void concludeCurrent(bool wasConfirmed);
    void recordCurrent(bool wasConfirmed);
    void startNext();
    void finish(Ending ending);
    const PlannedWrite &current() const { return planned.at(currentIndex); }

    MavLinkBridge &bridge;
    HeartbeatWatch &heartbeat;
    HeartbeatWait heartbeatWait;
    QList<PlannedWrite> planned;
    Pace pace = Pace::OneAtATime;
    // Echoes of a batch's later writes, kept until their turn comes.
    QHash<QString, float> earlyReports;
    int currentIndex = -1;
    int attempts = 0;
    bool lastReportKnown = false;
    float lastReported = 0.0f;
    bool writing = false;
    bool cancelRequested = false;
    bool sent = false;
    bool awaitingHeartbeat = false;
    QStringList confirmed;
    QList<UnconfirmedWrite> unconfirmed;
    QTimer sendTurn;
    QTimer echoWait;
};
