#pragma once

// Below this share the event loop slept; a spinning one comes out near 1.
constexpr double kIdleCpuShareLimit = 0.5;

// Runs the event loop for ms milliseconds and returns the share of the CPU
// the calling thread used in the time it was not kept waiting for one by
// other processes: about 1 when something spins, however busy the machine,
// about 0 when the loop sleeps until something happens.
double cpuShareWhileRunningEventLoop(int ms);
