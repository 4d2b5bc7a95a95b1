#pragma once

#include <QImage>

namespace zefa::imagegen {

// The application icon: a quadcopter seen from above carrying "R7".
// Small sizes get a simplified drawing so the lettering stays readable.
QImage appIcon(int size);

} // namespace zefa::imagegen
