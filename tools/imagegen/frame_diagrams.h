#pragma once

#include "frame_layouts.h"

#include <QImage>

namespace zefa::imagegen {

constexpr int kFrameDiagramSize = 118;

// Frame seen from above, nose up: numbered motor discs, each with an arrow for
// its spin direction, and a legend for the two spin colours.
QImage frameDiagram(const FrameLayout &layout);

} // namespace zefa::imagegen
