#pragma once

#include "heartbeatwatch.h"
#include "journalformat.h"
#include "restoreplan.h"

#include "mavlink/mavlinkbridge.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

class ChangeJournal;
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
//
// With a journal, each run is one change set of it, labelled by its source:
// every write with the value the FC reported before it and its outcome.
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
                ChangeJournal *journal = nullptr, QObject *parent = nullptr);

    // Why the journal cannot record a run now; empty when it can. Asked
    // before anything is sent: a write is never made unrecorded.
    QString journalProblem();
    // The snapshot: the FC's whole list as the run's source read it.
    void start(const QList<PlannedWrite> &writes, const QString &source,
               Pace pace = Pace::OneAtATime, const QList<JournalValue> &snapshot = {});
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
    void beginChangeSet(const QString &source, const QList<JournalValue> &snapshot);
    JournalChange changeOf(const PlannedWrite &write);
    void endChangeSet();
    void startNext();
    void finish(Ending ending);
    const PlannedWrite &current() const { return planned.at(currentIndex); }

    MavLinkBridge &bridge;
    ParameterStore &store;
    HeartbeatWatch &heartbeat;
    ChangeJournal *journal;
    HeartbeatWait heartbeatWait;
    QList<PlannedWrite> planned;
    // Each planned write as the journal records it, the value before taken
    // when its first attempt left.
    QList<JournalChange> changes;
    QHash<QString, JournalChange> sentBefore;
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

// The FC's list as a change set's snapshot.
QList<JournalValue> snapshotOf(const QList<ParameterReport> &list);
QList<JournalValue> snapshotOf(const ParameterStore &store);
