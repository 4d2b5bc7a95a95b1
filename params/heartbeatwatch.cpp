#include "heartbeatwatch.h"

#include "fc/fcconventions.h"
#include "mavlink/mavlinkbridge.h"
#include "params/parameterstore.h"

namespace {
constexpr int kNudgeIntervalMs = 250;
}

HeartbeatWatch::HeartbeatWatch(MavLinkBridge &bridge, ParameterStore &store, QObject *parent)
    : QObject(parent), mavlink(bridge)
{
    connect(&bridge, &MavLinkBridge::heartbeatReceived, this, &HeartbeatWatch::received);
    connect(&store, &ParameterStore::parameterReceived, this, &HeartbeatWatch::answered);
    restart();
}

void HeartbeatWatch::restart()
{
    silence.start();
    sinceAnswer.invalidate();
    heartbeatSeen = false;
    armedReported = false;
}

void HeartbeatWatch::received(bool armed)
{
    silence.start();
    heartbeatSeen = true;
    armedReported = armed;
    emit heartbeatReceived();
}

void HeartbeatWatch::answered()
{
    sinceAnswer.start();
}

bool HeartbeatWatch::recentlyAlive(qint64 heartbeatMs, qint64 answeredHeartbeatMs,
                                   qint64 answerMs) const
{
    if (!heartbeatSeen)
        return false;
    const bool answeredLately = sinceAnswer.isValid() && sinceAnswer.elapsed() < answerMs;
    return silenceMs() < heartbeatMs || (answeredLately && silenceMs() < answeredHeartbeatMs);
}

HeartbeatWait::HeartbeatWait(HeartbeatWatch &watch, QObject *parent)
    : QObject(parent), mavlink(watch.bridge())
{
    deadline.setSingleShot(true);
    nudge.setInterval(kNudgeIntervalMs);
    connect(&watch, &HeartbeatWatch::heartbeatReceived, this, &HeartbeatWait::arrived);
    connect(&deadline, &QTimer::timeout, this, &HeartbeatWait::gaveUp);
    connect(&nudge, &QTimer::timeout, this, &HeartbeatWait::nudgeFc);
}

void HeartbeatWait::awaitNext(int ms)
{
    deadline.start(ms);
    nudge.start();
}

void HeartbeatWait::stop()
{
    deadline.stop();
    nudge.stop();
}

void HeartbeatWait::arrived()
{
    if (!isWaiting())
        return;
    stop();
    emit heartbeatReceived();
}

void HeartbeatWait::nudgeFc()
{
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFirmwareVersionParam));
}

void HeartbeatWait::gaveUp()
{
    nudge.stop();
    emit heartbeatMissed();
}
