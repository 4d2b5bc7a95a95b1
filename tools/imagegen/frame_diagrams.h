#pragma once

#include "frame_layouts.h"

#include <QImage>

namespace zefa::imagegen {

constexpr int kFrameDiagramSize = 118;

// Frame seen from above, nose up: numbered motor discs, each with an arrow for
// its spin direction, and a legend for the two spin colours. `density` device
// pixels per pixel of the 1x picture.
QImage frameDiagram(const FrameLayout &layout, int density = 1);

} // namespace zefa::imagegen
