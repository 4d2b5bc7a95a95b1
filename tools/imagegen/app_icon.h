#pragma once

#include <QImage>

namespace zefa::imagegen {

constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The application icon: a quadcopter seen from above carrying "R7".
// Small sizes get a simplified drawing so the lettering stays readable.
QImage appIcon(int size);

} // namespace zefa::imagegen
