#include "paramwriter.h"

#include "heartbeatwatch.h"
#include "parameterstore.h"
#include "paramtype.h"

#include "fc/fcconventions.h"

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
                         QObject *parent)
    : QObject(parent), bridge(bridge), heartbeat(heartbeat), heartbeatWait(heartbeat)
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

void ParamWriter::start(const QList<PlannedWrite> &writes, Pace pace)
{
    planned = writes;
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

void ParamWriter::sendFirstAttempts(const QList<PlannedWrite> &writes)
{
    for (const PlannedWrite &write : writes)
        bridge.writeParameter(Fc::kComponent, write.name, write.fileValue, write.type);
}

// A write already sent counts as not confirmed when the run ends under it.
void ParamWriter::stop()
{
    if (writing && attempts > 0)
        recordCurrent(false);
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
