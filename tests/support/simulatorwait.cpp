#include "simulatorwait.h"

#include "eventpump.h"
#include "wire.h"

#include "fcsim/fcsimulator.h"

QStringList receivedBySimulator(FcSimulator &sim, int quietMs)
{
    int seen = -1;
    while (seen != sim.receivedBytes().size()) {
        seen = sim.receivedBytes().size();
        pumpEvents(quietMs);
    }
    return describeAll(parseFrames(sim.receivedBytes()));
}
