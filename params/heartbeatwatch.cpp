#include "heartbeatwatch.h"

#include "mavlink/mavlinkbridge.h"
#include "pages/fcconventions.h"

namespace {
constexpr int kNudgeIntervalMs = 250;
}

HeartbeatWatch::HeartbeatWatch(MavLinkBridge &bridge, QObject *parent)
    : QObject(parent), mavlink(bridge)
{
    deadline.setSingleShot(true);
    nudge.setInterval(kNudgeIntervalMs);
    connect(&bridge, &MavLinkBridge::heartbeatReceived, this, &HeartbeatWatch::received);
    connect(&deadline, &QTimer::timeout, this, &HeartbeatWatch::gaveUp);
    connect(&nudge, &QTimer::timeout, this, &HeartbeatWatch::nudgeFc);
    restart();
}

void HeartbeatWatch::restart()
{
    stopAwaiting();
    silence.start();
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
    emit heartbeat();
}

void HeartbeatWatch::nudgeFc()
{
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kFirmwareVersionParam));
}

void HeartbeatWatch::gaveUp()
{
    nudge.stop();
    emit missing();
}
