#pragma once

#include "fc/fcconventions.h"

#include <QtGlobal>

#include <cmath>

namespace Fc {

// Whether a reported ZEFAVERSION is the firmware this assistant was made
// for. A value beyond any version number is not, and keeps the rounding
// defined.
inline bool isSupportedFirmware(float reported)
{
    constexpr float kLargestVersion = 1e6f;
    return std::fabs(reported) < kLargestVersion && qRound(reported) == kSupportedFirmware;
}

} // namespace Fc
