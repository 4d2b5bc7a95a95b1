#pragma once

// The FC's values in the units the pages show, and back. The rounding steps
// (float or double, and their order) are part of each conversion: they
// decide the last bit of what is written.
namespace Fc {

// The gain page's 0..10 scale, on which 5 stands for the FC's default
// tuning. P and I of roll and pitch follow a clamped square root; the D
// gains and yaw P are linear.
float rollPitchRateP(double gain);
float rollPitchRateD(double gain);
float yawRateP(double gain);
double gainFromRollPitchRateD(float rate);
double gainFromYawRateP(float rate);

// RTL_ALT holds centimetres.
float metresFromCentimetres(float centimetres);
float centimetresFromMetres(int metres);

// The FC reports the battery at its sense pin times BATT_VOLT_MULT; a meter
// reading scales the multiplier by measured over reported.
double batteryVolts(float pinVolts, float multiplier);
float calibratedVoltageMultiplier(float measured, float reported, float multiplier);

} // namespace Fc
