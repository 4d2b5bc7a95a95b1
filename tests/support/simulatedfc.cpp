#include "simulatedfc.h"

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
    int seen = -1;
    while (seen != sim.receivedBytes().size()) {
        seen = sim.receivedBytes().size();
        pumpEvents(kQuietMs);
    }
    const QStringList frames = describeAll(parseFrames(sim.receivedBytes()));
    sim.clearReceived();
    return frames;
}
