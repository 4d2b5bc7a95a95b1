#pragma once

// CPU time this process has used so far (user and system), in seconds.
double processCpuSeconds();

// Share of wall time the process spent on a CPU while the event loop ran
// for ms milliseconds: about 0 when idle, about 1 when something spins.
double cpuShareWhilePumping(int ms);
