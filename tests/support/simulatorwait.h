#pragma once

#include <QStringList>

class FcSimulator;

// Everything the simulated FC has received so far, described as in wire.h,
// once nothing new has reached it for quietMs: its line is read in the event
// loop, so bytes written just now are not there yet.
QStringList receivedBySimulator(FcSimulator &sim, int quietMs = 100);
