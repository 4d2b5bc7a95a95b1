#pragma once

#include <cstdint>

// Names and numbers the link, the parameter code, the pages and the
// simulated FC share with the FC.
namespace Fc {

// Every page request, write and command addresses the FC's component 1.
constexpr std::uint8_t kComponent = 1;

// PREFLIGHT_CALIBRATION: param5 = 1 starts the accelerometer calibration,
// param6 = 2 the self-test.
constexpr std::uint16_t kPreflightCalibration = 241;
constexpr float kAccelCalibrationParam5 = 1.0f;
constexpr float kSelfTestParam6 = 2.0f;

// Only the firmware this assistant was made for keeps the link.
constexpr char kFirmwareVersionParam[] = "ZEFAVERSION";
constexpr int kSupportedFirmware = 20;

// The parameters the pages read and write. "%1" is a channel, 1 to 8.
constexpr char kFrameParam[] = "FRAME";
constexpr char kShapeParam[] = "SHAPE";
constexpr char kReceiverTypeParam[] = "RC_TYPE";
constexpr char kRcMinParam[] = "RC%1_MIN";
constexpr char kRcMaxParam[] = "RC%1_MAX";
constexpr char kBatteryFailsafeParam[] = "FS_BATT_ENABLE";
constexpr char kBatteryWarningParam[] = "FS_BATT_WARNING";
constexpr char kBatteryFailsafeVoltageParam[] = "FS_BATT_VOLTAGE";
constexpr char kVoltageMultiplierParam[] = "BATT_VOLT_MULT";
constexpr char kRollRatePParam[] = "RATE_RLL_P";
constexpr char kRollRateIParam[] = "RATE_RLL_I";
constexpr char kRollRateDParam[] = "RATE_RLL_D";
constexpr char kPitchRatePParam[] = "RATE_PIT_P";
constexpr char kPitchRateIParam[] = "RATE_PIT_I";
constexpr char kPitchRateDParam[] = "RATE_PIT_D";
constexpr char kYawRatePParam[] = "RATE_YAW_P";
constexpr char kFeedForwardParam[] = "ATC_RATE_FF_ENAB";
constexpr char kChannel8OptionParam[] = "CH8_OPT";
constexpr char kReturnAltitudeParam[] = "RTL_ALT"; // centimetres

// ATC_RATE_FF_ENAB and CH8_OPT values of the flight-feel choice.
constexpr int kFeelSoft = 0;
constexpr int kFeelSport = 1;
constexpr int kChannelOptionNone = 0;
constexpr int kChannelOptionFeel = 25;

} // namespace Fc
