#pragma once

#include "gcsharness.h"

#include "fcsim/fcsimulator.h"
#include "fcsim/simulatorptylink.h"

#include <QStringList>

// The assistant connected to a simulated FC on the master side of its line.
// The simulator reads the line, so what the assistant sent is taken from
// the simulator (sentToFc), not from the harness.
class SimulatedFc
{
public:
    // Connects and waits until the FC has heard the firmware version request.
    SimulatedFc();

    // Frames the FC received since the last call, once the line is quiet.
    QStringList sentToFc();
    // Disconnects, forgets what the FC received, connects again and waits
    // for two of the FC's heartbeats: a second on the new link.
    void reconnectForASecond();

    GcsHarness gcs;
    FcSimulator sim;
    SimulatorPtyLink link;
};
