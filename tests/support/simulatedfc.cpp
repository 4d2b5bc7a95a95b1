#include "simulatedfc.h"
#include "simulatorwait.h"

#include "mavlink/mavlinkbridge.h"

#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int kConnectTimeoutMs = 5000;
constexpr int kQuietMs = 100;
constexpr int kHeartbeatsTimeoutMs = 10000;
} // namespace

SimulatedFc::SimulatedFc() : link(gcs.line().masterFd(), sim)
{
    gcs.action("actionConnect")->trigger();
    if (!QTest::qWaitFor([this] { return !sim.receivedFrames().isEmpty(); }, kConnectTimeoutMs))
        qFatal("the simulated FC heard nothing from the assistant");
    sentToFc();
}

QStringList SimulatedFc::sentToFc()
{
    gcs.waitUntilSent();
    const QStringList frames = receivedBySimulator(sim, kQuietMs);
    sim.clearReceived();
    return frames;
}

void SimulatedFc::reconnectForASecond()
{
    gcs.action("actionDisconnect")->trigger();
    sentToFc();
    QSignalSpy heartbeats(&gcs.bridge(), &MavLinkBridge::heartbeatReceived);
    gcs.action("actionConnect")->trigger();
    if (!QTest::qWaitFor([&] { return heartbeats.size() >= 2; }, kHeartbeatsTimeoutMs))
        qFatal("no heartbeats after connecting again");
}
