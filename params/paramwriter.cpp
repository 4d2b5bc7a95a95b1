#include "paramwriter.h"

#include "changejournal.h"
#include "heartbeatwatch.h"
#include "parameterstore.h"
#include "paramtype.h"

#include "fc/fcconventions.h"
#include "fc/firmware.h"

#include <QCoreApplication>

namespace {
// The FC echoes a write at once; on a line that garbles one byte in a
// hundred, a quarter of the echoes are lost, and the wait for each of them
// made up most of a restore's time. A late echo still confirms the write.
constexpr int kEchoTimeoutMs = 300;
// A page's writes leave together, 20 ms apart: their echoes come back over
// as long as the batch takes to leave (sixteen radio limits: 320 ms).
constexpr int kBatchEchoTimeoutMs = 1000;
// The first write and three more.
constexpr int kWriteAttempts = 4;
// Reads of the name after the writes, when only the echoes were lost: the
// answer to a read comes at once or not at all. A line that loses a third of
// the answers still confirms nearly every write.
constexpr int kReadBackAttempts = 6;
constexpr int kReadBackTimeoutMs = 500;
// A real FC sends a heartbeat every second; a write waits while the last
// one is older than this, at most as long again.
constexpr qint64 kHeartbeatTimeoutMs = 3000;
// While the FC goes on answering, a noisy line may have lost a few
// heartbeats in a row: writes go on this long after the last one showed the
// FC disarmed.
constexpr qint64 kAnsweringHeartbeatTimeoutMs = 10000;
} // namespace

ParamWriter::ParamWriter(MavLinkBridge &bridge, ParameterStore &store, HeartbeatWatch &heartbeat,
                         ChangeJournal *journal, QObject *parent)
    : QObject(parent), bridge(bridge), store(store), heartbeat(heartbeat), journal(journal),
      heartbeatWait(heartbeat)
{
    for (QTimer *timer : {&sendTurn, &echoWait})
        timer->setSingleShot(true);
    sendTurn.setInterval(0);
    connect(&sendTurn, &QTimer::timeout, this, &ParamWriter::sendAttempt);
    connect(&echoWait, &QTimer::timeout, this, &ParamWriter::attemptNotConfirmed);
    connect(&heartbeatWait, &HeartbeatWait::heartbeatMissed, this, &ParamWriter::heartbeatMissing);
    connect(&heartbeatWait, &HeartbeatWait::heartbeatReceived, this,
            &ParamWriter::heartbeatArrived);
    connect(&store, &ParameterStore::parameterReceived, this, &ParamWriter::parameterReported);
}

QString ParamWriter::journalProblem()
{
    return journal ? journal->prepare() : QString();
}

void ParamWriter::start(const QList<PlannedWrite> &writes, const QString &source, Pace pace,
                        const QList<JournalValue> &snapshot)
{
    planned = writes;
    changes.clear();
    for (const PlannedWrite &write : writes) {
        const bool batched = pace == Pace::FirstAttemptsSent && sentBefore.contains(write.name);
        changes << (batched ? sentBefore.take(write.name) : changeOf(write));
    }
    beginChangeSet(source, snapshot);
    this->pace = pace;
    earlyReports.clear();
    confirmed.clear();
    unconfirmed.clear();
    currentIndex = -1;
    writing = true;
    cancelRequested = false;
    sent = pace == Pace::FirstAttemptsSent && !writes.isEmpty();
    startNext();
}

// The FC's echoes of a batch may reach the store before the run starts.
void ParamWriter::sendFirstAttempts(const QList<PlannedWrite> &writes)
{
    for (const PlannedWrite &write : writes) {
        sentBefore.insert(write.name, changeOf(write));
        bridge.writeParameter(Fc::kComponent, write.name, write.fileValue, write.type);
    }
}

// The type the FC reported, where it did: an undo writes with it.
JournalChange ParamWriter::changeOf(const PlannedWrite &write)
{
    JournalChange change;
    change.name = write.name;
    change.type = write.type;
    change.after = write.fileValue;
    if (const StoredParameter *stored = store.find(write.name)) {
        change.beforeKnown = true;
        change.before = stored->value;
        change.type = stored->type;
    }
    return change;
}

void ParamWriter::beginChangeSet(const QString &source, const QList<JournalValue> &snapshot)
{
    if (!journal)
        return;
    ChangeSet set;
    set.source = source;
    set.systemId = bridge.knownFcSystemId();
    const StoredParameter *version = store.find(QString::fromLatin1(Fc::kFirmwareVersionParam));
    if (version)
        set.firmware = ParamType::valueText(version->value, version->type);
    set.snapshot = snapshot;
    const QString failed = journal->begin(set);
    if (!failed.isEmpty())
        qWarning("%s", qPrintable(failed));
}

// A batch's writes the run did not reach were sent all the same.
void ParamWriter::endChangeSet()
{
    if (!journal || !journal->isRecording())
        return;
    if (pace == Pace::FirstAttemptsSent) {
        for (int i = confirmed.size() + unconfirmed.size(); i < changes.size(); ++i) {
            changes[i].outcome = JournalChange::Outcome::Unconfirmed;
            journal->record(changes.at(i));
        }
    }
    const QString failed = journal->end();
    if (!failed.isEmpty())
        qWarning("%s", qPrintable(failed));
}

// A write already sent counts as not confirmed when the run ends under it.
void ParamWriter::stop()
{
    if (writing && attempts > 0)
        recordCurrent(false);
    if (writing)
        endChangeSet();
    writing = false;
    for (QTimer *timer : {&sendTurn, &echoWait})
        timer->stop();
    if (awaitingHeartbeat)
        heartbeatWait.stop();
    awaitingHeartbeat = false;
}

void ParamWriter::cancel()
{
    cancelRequested = true;
    if (writing && !echoWait.isActive())
        finish(Ending::Cancelled);
}

void ParamWriter::heartbeatArrived()
{
    if (!awaitingHeartbeat)
        return;
    awaitingHeartbeat = false;
    sendTurn.start();
}

void ParamWriter::startNext()
{
    ++currentIndex;
    attempts = 0;
    lastReportKnown = false;
    if (cancelRequested)
        finish(Ending::Cancelled);
    else if (currentIndex >= planned.size())
        finish(Ending::Done);
    else if (pace == Pace::FirstAttemptsSent)
        awaitBatchedEcho();
    else
        sendTurn.start();
}

// The first attempt went out with the batch; its echo may be here already.
void ParamWriter::awaitBatchedEcho()
{
    attempts = 1;
    echoWait.start(echoTimeoutMs());
    const auto early = earlyReports.constFind(current().name);
    if (early != earlyReports.constEnd())
        judgeReport(*early);
}

// Writes first, then reads; every frame needs the FC alive and disarmed.
void ParamWriter::sendAttempt()
{
    if (!writing)
        return;
    const PlannedWrite &write = current();
    if (attempts < kWriteAttempts) {
        if (pace == Pace::OneAtATime && !mayWrite())
            return;
        sent = true;
        bridge.writeParameter(Fc::kComponent, write.name, write.fileValue, write.type);
        echoWait.start(echoTimeoutMs());
    } else if (attempts < kWriteAttempts + kReadBackAttempts) {
        bridge.requestParameter(Fc::kComponent, write.name);
        echoWait.start(kReadBackTimeoutMs);
    } else {
        concludeCurrent(false);
        return;
    }
    ++attempts;
}

bool ParamWriter::mayWrite()
{
    if (heartbeat.armed()) {
        finish(Ending::Armed);
        return false;
    }
    if (fcAlive())
        return true;
    awaitingHeartbeat = true;
    heartbeatWait.awaitNext(int(kHeartbeatTimeoutMs));
    return false;
}

int ParamWriter::echoTimeoutMs() const
{
    return pace == Pace::FirstAttemptsSent ? kBatchEchoTimeoutMs : kEchoTimeoutMs;
}

bool ParamWriter::fcAlive() const
{
    return heartbeat.recentlyAlive(kHeartbeatTimeoutMs, kAnsweringHeartbeatTimeoutMs,
                                   kHeartbeatTimeoutMs);
}

void ParamWriter::heartbeatMissing()
{
    if (awaitingHeartbeat)
        finish(Ending::NoHeartbeat);
}

void ParamWriter::parameterReported(const ParameterReport &report)
{
    if (awaitingHeartbeat && fcAlive()) {
        heartbeatWait.stop();
        heartbeatArrived();
    }
    if (!writing)
        return;
    if (attempts > 0 && report.name == current().name)
        judgeReport(report.value);
    else if (pace == Pace::FirstAttemptsSent)
        earlyReports.insert(report.name, report.value);
}

void ParamWriter::judgeReport(float value)
{
    lastReportKnown = true;
    lastReported = value;
    if (ParamType::sameStoredValue(current().type, value, current().fileValue))
        concludeCurrent(true);
    else if (pace == Pace::FirstAttemptsSent)
        otherValueInBatch();
}

// Another value after the first attempt may still answer a Read made before
// the Save; after a later attempt it is the FC's own.
void ParamWriter::otherValueInBatch()
{
    if (attempts > 1) {
        concludeCurrent(false);
        return;
    }
    echoWait.stop();
    attemptNotConfirmed();
}

void ParamWriter::attemptNotConfirmed()
{
    if (cancelRequested)
        concludeCurrent(false);
    else
        sendTurn.start();
}

void ParamWriter::concludeCurrent(bool wasConfirmed)
{
    recordCurrent(wasConfirmed);
    startNext();
}

// A resend still due for this write must not go out as the next one's.
void ParamWriter::recordCurrent(bool wasConfirmed)
{
    sendTurn.stop();
    echoWait.stop();
    attempts = 0;
    const PlannedWrite &write = current();
    JournalChange &change = changes[currentIndex];
    change.outcome = wasConfirmed      ? JournalChange::Outcome::Confirmed
                     : lastReportKnown ? JournalChange::Outcome::Refused
                                       : JournalChange::Outcome::Unconfirmed;
    change.reported = lastReported;
    if (journal)
        journal->record(change);
    if (wasConfirmed)
        confirmed << write.name;
    else
        unconfirmed << UnconfirmedWrite{write, lastReportKnown, lastReported};
    emit progress(confirmed.size() + unconfirmed.size(), planned.size());
}

QStringList ParamWriter::unconfirmedNames() const
{
    QStringList names;
    for (const UnconfirmedWrite &miss : unconfirmed) {
        names << (miss.reported
                      ? QCoreApplication::translate("ParamWriter", "%1 (the FC reports %2)")
                            .arg(miss.write.name,
                                 ParamType::valueText(miss.reportedValue, miss.write.type))
                      : miss.write.name);
    }
    return names;
}

void ParamWriter::finish(Ending ending)
{
    stop();
    emit finished(ending);
}

QString ParamWriter::summary() const
{
    QString text = tr("Written and confirmed: %1 of %2.").arg(confirmed.size()).arg(plannedCount());
    if (!unconfirmed.isEmpty())
        text += QLatin1Char(' ') +
                tr("Not confirmed: %1.").arg(unconfirmedNames().join(QStringLiteral(", ")));
    if (notWrittenCount() > 0)
        text += QLatin1Char(' ') + tr("Not written: %1.").arg(notWrittenCount());
    return text;
}

QList<JournalValue> snapshotOf(const QList<ParameterReport> &list)
{
    QList<JournalValue> values;
    for (const ParameterReport &report : list)
        values << JournalValue{report.name, report.type, report.value};
    return values;
}

QList<JournalValue> snapshotOf(const ParameterStore &store)
{
    QList<JournalValue> values;
    for (int row = 0; row < store.rowCount(); ++row)
        values << JournalValue{store.at(row).name, store.at(row).type, store.at(row).value};
    return values;
}
