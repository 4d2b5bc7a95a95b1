#include "simulatedfc.h"
#include "simulatorwait.h"

#include <QTest>

namespace {
constexpr int kConnectTimeoutMs = 5000;
constexpr int kQuietMs = 100;
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
