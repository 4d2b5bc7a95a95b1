#pragma once

#include <cstdint>

// Numbers the link, the parameter code and the pages share with the FC.
namespace Fc {

// Every page request, write and command addresses the FC's component 1.
constexpr std::uint8_t kComponent = 1;
constexpr std::uint16_t kPreflightCalibration = 241;

// Only the firmware this assistant was made for keeps the link.
constexpr char kFirmwareVersionParam[] = "ZEFAVERSION";
constexpr int kSupportedFirmware = 20;

// The gain page's 0..10 scale: 5 stands for the FC's default tuning.
constexpr double kDefaultGain = 5.0;
constexpr double kRateDScale = 0.012; // RATE_RLL_D and RATE_PIT_D at gain 5
constexpr double kYawPScale = 0.3;    // RATE_YAW_P at gain 5

// ATC_RATE_FF_ENAB and CH8_OPT values of the flight-feel choice.
constexpr int kFeelSoft = 0;
constexpr int kFeelSport = 1;
constexpr int kChannelOptionNone = 0;
constexpr int kChannelOptionFeel = 25;

constexpr float kCentimetresPerMetre = 100.0f; // RTL_ALT is in centimetres

} // namespace Fc
