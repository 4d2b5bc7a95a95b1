#include "fc/units.h"

#include <cmath>

namespace Fc {

namespace {
constexpr double kDefaultGain = 5.0;
constexpr double kDefaultRateP = 0.15;
constexpr double kMinRateP = 0.04;
constexpr double kMaxRateP = 0.19;
constexpr double kRateDScale = 0.012; // RATE_RLL_D and RATE_PIT_D at gain 5
constexpr double kYawPScale = 0.3;    // RATE_YAW_P at gain 5
constexpr float kCentimetresPerMetre = 100.0f;

// The spin value is taken as a float, scaled in double and stored as float
// again. Each rounding step moves the last bit of some gains, so the order
// matters.
float linearRate(double gain, double scale)
{
    return float(double(float(gain)) * scale / kDefaultGain);
}

double linearGain(float rate, double scale)
{
    return double(rate) * kDefaultGain / scale;
}
} // namespace

// The FC stores floats, so the clamps compare the stored float, widened,
// against the exact limits.
float rollPitchRateP(double gain)
{
    const float p = float(std::sqrt(gain / kDefaultGain) * kDefaultRateP);
    if (double(p) < kMinRateP)
        return float(kMinRateP);
    if (double(p) > kMaxRateP)
        return float(kMaxRateP);
    return p;
}

float rollPitchRateD(double gain)
{
    return linearRate(gain, kRateDScale);
}

float yawRateP(double gain)
{
    return linearRate(gain, kYawPScale);
}

double gainFromRollPitchRateD(float rate)
{
    return linearGain(rate, kRateDScale);
}

double gainFromYawRateP(float rate)
{
    return linearGain(rate, kYawPScale);
}

float metresFromCentimetres(float centimetres)
{
    return centimetres / kCentimetresPerMetre;
}

float centimetresFromMetres(int metres)
{
    return float(metres) * kCentimetresPerMetre;
}

double batteryVolts(float pinVolts, float multiplier)
{
    return double(pinVolts) * double(multiplier);
}

float calibratedVoltageMultiplier(float measured, float reported, float multiplier)
{
    return measured / reported * multiplier;
}

} // namespace Fc
