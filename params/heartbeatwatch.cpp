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
    deadline.setSingleShot(true);
    nudge.setInterval(kNudgeIntervalMs);
    connect(&bridge, &MavLinkBridge::heartbeatReceived, this, &HeartbeatWatch::received);
    connect(&store, &ParameterStore::parameterReceived, this, &HeartbeatWatch::answered);
    connect(&deadline, &QTimer::timeout, this, &HeartbeatWatch::gaveUp);
    connect(&nudge, &QTimer::timeout, this, &HeartbeatWatch::nudgeFc);
    restart();
}

void HeartbeatWatch::restart()
{
    stopAwaiting();
    silence.start();
    sinceAnswer.invalidate();
    heartbeatSeen = false;
    armedReported = false;
}

void HeartbeatWatch::awaitNext(int ms)
{
    deadline.start(ms);
    nudge.start();
}

void HeartbeatWatch::stopAwaiting()
{
    deadline.stop();
    nudge.stop();
}

void HeartbeatWatch::received(bool armed)
{
    stopAwaiting();
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

void HeartbeatWatch::nudgeFc()
{
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFirmwareVersionParam));
}

void HeartbeatWatch::gaveUp()
{
    nudge.stop();
    emit heartbeatMissed();
}
