#pragma once

#include <QByteArray>

// Ten seconds of what the FC sends while the radio, voltage and self-test
// pages are open: RC channels at 50 Hz, attitude at 10 Hz, battery status at
// 2 Hz, heartbeat at 1 Hz and a pre-arm text every other second, with the
// sticks moving.
QByteArray recordedStream();
