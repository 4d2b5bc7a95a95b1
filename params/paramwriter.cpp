#include "paramwriter.h"

#include "heartbeatwatch.h"
#include "paramtype.h"

#include "pages/fcconventions.h"

#include <QCoreApplication>

namespace {
// The FC echoes a write at once; on a line that garbles one byte in a
// hundred, a quarter of the echoes are lost, and the wait for each of them
// made up most of a restore's time. A late echo still confirms the write.
constexpr int kEchoTimeoutMs = 300;
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

ParamWriter::ParamWriter(MavLinkBridge &bridge, HeartbeatWatch &heartbeat, QObject *parent)
    : QObject(parent), bridge(bridge), heartbeat(heartbeat)
{
    for (QTimer *timer : {&sendTurn, &echoWait})
        timer->setSingleShot(true);
    sendTurn.setInterval(0);
    connect(&sendTurn, &QTimer::timeout, this, &ParamWriter::sendAttempt);
    connect(&echoWait, &QTimer::timeout, this, &ParamWriter::attemptTimedOut);
    connect(&heartbeat, &HeartbeatWatch::missing, this, &ParamWriter::heartbeatMissing);
    connect(&heartbeat, &HeartbeatWatch::heartbeat, this, &ParamWriter::heartbeatArrived);
    connect(&bridge, &MavLinkBridge::parameterReported, this, &ParamWriter::parameterReported);
}

void ParamWriter::start(const QList<PlannedWrite> &writes)
{
    planned = writes;
    confirmed.clear();
    unconfirmed.clear();
    currentIndex = -1;
    writing = true;
    cancelRequested = false;
    sent = false;
    startNext();
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
        heartbeat.stopAwaiting();
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
    else
        sendTurn.start();
}

// Writes first, then reads; every frame needs the FC alive and disarmed.
void ParamWriter::sendAttempt()
{
    if (!writing)
        return;
    const PlannedWrite &write = current();
    if (attempts < kWriteAttempts) {
        if (!mayWrite())
            return;
        sent = true;
        bridge.writeParameter(Fc::kComponent, write.name, write.fileValue, write.type);
        echoWait.start(kEchoTimeoutMs);
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
    heartbeat.awaitNext(int(kHeartbeatTimeoutMs));
    return false;
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

void ParamWriter::parameterReported(ParameterReport report)
{
    if (awaitingHeartbeat && fcAlive()) {
        heartbeat.stopAwaiting();
        heartbeatArrived();
    }
    if (!writing || attempts == 0 || report.name != current().name)
        return;
    lastReportKnown = true;
    lastReported = report.value;
    if (ParamType::sameStoredValue(current().type, report.value, current().fileValue))
        concludeCurrent(true);
}

void ParamWriter::attemptTimedOut()
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

void ParamWriter::recordCurrent(bool wasConfirmed)
{
    echoWait.stop();
    attempts = 0;
    const PlannedWrite &write = current();
    if (wasConfirmed) {
        confirmed << write.name;
    } else if (lastReportKnown) {
        unconfirmed << QCoreApplication::translate("ParamWriter", "%1 (the FC reports %2)")
                           .arg(write.name, ParamType::valueText(lastReported, write.type));
    } else {
        unconfirmed << write.name;
    }
    emit progress(confirmed.size() + unconfirmed.size(), planned.size());
}

void ParamWriter::finish(Ending ending)
{
    stop();
    emit finished(ending);
}
