#include "heartbeatwatch.h"

#include "mavlink/mavlinkbridge.h"

HeartbeatWatch::HeartbeatWatch(MavLinkBridge &bridge, QObject *parent) : QObject(parent)
{
    connect(&bridge, &MavLinkBridge::heartbeatReceived, this, &HeartbeatWatch::received);
    restart();
}

void HeartbeatWatch::restart()
{
    silence.start();
    heartbeatSeen = false;
    armedReported = false;
}

void HeartbeatWatch::received(bool armed)
{
    silence.start();
    heartbeatSeen = true;
    armedReported = armed;
    emit heartbeat();
}
