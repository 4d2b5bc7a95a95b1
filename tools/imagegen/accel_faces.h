#pragma once

#include <QImage>

namespace zefa::imagegen {

constexpr int kAccelWidth = 290;
constexpr int kAccelHeight = 310;
constexpr int kAccelSteps = 6;

// Attitude for accelerometer calibration step 1..6: level, left side up,
// right side up, nose down, nose up, upside down. `density` device pixels per
// pixel of the 1x picture.
QImage accelFace(int step, int density = 1);

} // namespace zefa::imagegen
