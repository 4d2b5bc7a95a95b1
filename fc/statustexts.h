#pragma once

#include <QByteArray>

// The FC's status texts the pages follow, and the parts of them the pages
// look for. The FC's spelling is kept as it sends it.
namespace Fc {

// The accelerometer calibration, in notices: "Place ... and press any key."
// for each face, then one of the two endings.
inline constexpr char kAccelPromptStart[] = "Place";
inline constexpr char kAccelPromptEnd[] = "and press any key";
inline constexpr char kAccelSucceeded[] = "Calibration successful";
inline constexpr char kAccelFailed[] = "FAILED";
inline constexpr char kAccelFailedText[] = "Calibration FAILED";

// The faces in the order the FC asks for them: the word a prompt names the
// face by, and the prompt's words for where to place the vehicle.
struct AccelFace
{
    const char *keyword;
    const char *placement;
};
inline constexpr AccelFace kAccelFaces[] = {
    {"level", "level"},
    {"LEFT", "on its LEFT side"},
    {"RIGHT", "on its RIGHT side"},
    {"DOWN", "nose DOWN"},
    {"UP", "nose UP"},
    {"BACK", "on its BACK"},
};
constexpr int kAccelFaceCount = int(sizeof kAccelFaces / sizeof kAccelFaces[0]);

// The face prompt as the FC sends it, naming the vehicle as it is told.
QByteArray accelFacePrompt(const QByteArray &vehicle, const AccelFace &face);

// The self-test's answers, in errors: "PreArm: " and one of the problems.
inline constexpr char kPreArm[] = "PreArm";
inline constexpr char kRcNotCalibrated[] = "RC not calibrated";
inline constexpr char kBaroNotHealthy[] = "Baro not healthy";
inline constexpr char kCompassNotHealthy[] = "Compass not healthy";
inline constexpr char kCompassNotCalibrated[] = "Compass not calibrated";
inline constexpr char kCompassOffsetsTooHigh[] = "Compass offsets too high";
inline constexpr char kCheckMagField[] = "Check mag field";
inline constexpr char kInsNotCalibrated[] = "INS not calibrated";
inline constexpr char kInsNotHealthy[] = "INS not healthy";
inline constexpr char kGpsGlitch[] = "GPS Glitch";
inline constexpr char kNeed3dFix[] = "Need 3D Fix";
inline constexpr char kBadVelocity[] = "Bad Velocity";
inline constexpr char kHighGpsHdop[] = "High GPS HDOP";
inline constexpr char kThrottleBelowFailsafe[] = "Thr below FS";
inline constexpr const char *kPreArmProblems[] = {
    kRcNotCalibrated,
    kBaroNotHealthy,
    kCompassNotHealthy,
    kCompassNotCalibrated,
    kCompassOffsetsTooHigh,
    kCheckMagField,
    kInsNotCalibrated,
    kInsNotHealthy,
    kGpsGlitch,
    kNeed3dFix,
    kBadVelocity,
    kHighGpsHdop,
    kThrottleBelowFailsafe,
};

QByteArray preArmReport(const QByteArray &problem);

} // namespace Fc
