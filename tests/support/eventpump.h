#pragma once

// Runs the event loop for ms milliseconds, a millisecond at a time.
void pumpEvents(int ms);
