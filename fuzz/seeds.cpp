#include "seeds.h"

#include "fcsim/fcmessages.h"
#include "mavlink/payload.h"

#include <iterator>
#include <limits>

namespace {

using namespace FcMessages;

constexpr std::uint8_t kRawImuLength = 26;
constexpr std::uint8_t kSensorOffsetsLength = 42;
constexpr std::uint8_t kSeverityError = 3;
constexpr std::uint8_t kSeverityNotice = 5;

QByteArray wire(MavLinkMessage msg, std::uint8_t seq = 0)
{
    return toWire(msg, seq);
}

MavLinkMessage rawImu()
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::RawImu;
    msg.len = kRawImuLength;
    PayloadWriter writer(msg);
    writer.putU32(0, 123456789);
    for (int field = 0; field < 9; ++field)
        writer.putI16(8 + 2 * field, std::int16_t(field * 1000 - 4000));
    return msg;
}

MavLinkMessage sensorOffsets()
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::SensorOffsets;
    msg.len = kSensorOffsetsLength;
    PayloadWriter writer(msg);
    writer.putFloat(0, 0.05f);
    writer.putU32(4, 101325);
    writer.putU32(8, 2500);
    for (int field = 0; field < 6; ++field)
        writer.putFloat(12 + 4 * field, 0.01f * float(field));
    for (int field = 0; field < 3; ++field)
        writer.putI16(36 + 2 * field, std::int16_t(-50 + 25 * field));
    return msg;
}

// The names the dispatcher acts on, with values that mean something to it.
struct ParameterCase
{
    const char *name;
    float typical;
};

const ParameterCase kParameters[] = {
    {"ZEFAVERSION", 20},
    {"FRAME", 1},
    {"SHAPE", 1},
    {"RC_TYPE", 2},
    {"BATT_VOLT_MULT", 10},
    {"FS_BATT_ENABLE", 1},
    {"FS_BATT_WARNING", 11},
    {"FS_BATT_VOLTAGE", 10.5f},
    {"RATE_RLL_D", 0.012f},
    {"RATE_PIT_D", 0.012f},
    {"RATE_YAW_P", 0.3f},
    {"ATC_RATE_FF_ENAB", 1},
    {"CH8_OPT", 25},
    {"RTL_ALT", 3000},
    {"RC1_MIN", 1100},
    {"RC8_MAX", 1900},
    {"RATE_RLL_P", 0.15f},
    {"RATE_RLL_I", 0.1f},
    {"RATE_PIT_P", 0.15f},
    {"RATE_PIT_I", 0.1f},
};

// Values that have broken conversions elsewhere: out of every range,
// negative, not finite.
const float kHostileValues[] = {0.0f,
                                -1.0f,
                                3e9f,
                                -3e9f,
                                std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN()};

const char *const kAccelTexts[] = {
    "Place vehicle level and press any key.",
    "Place vehicle on its LEFT side and press any key.",
    "Place vehicle on its RIGHT side and press any key.",
    "Place vehicle nose DOWN and press any key.",
    "Place vehicle nose UP and press any key.",
    "Place vehicle on its BACK and press any key.",
    "Calibration successful",
    "Calibration FAILED",
};

const char *const kPreArmKeys[] = {
    "RC not calibrated",
    "Baro not healthy",
    "Compass not healthy",
    "Compass not calibrated",
    "Compass offsets too high",
    "Check mag field",
    "INS not calibrated",
    "INS not healthy",
    "GPS Glitch",
    "Need 3D Fix",
    "Bad Velocity",
    "High GPS HDOP",
    "Thr below FS",
};

QString numbered(const char *prefix, int index)
{
    return QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(index, 3, 10, QLatin1Char('0'));
}

void addParameterSeeds(QList<Seed> &seeds)
{
    int index = 0;
    for (const ParameterCase &p : kParameters) {
        const QString name = QString::fromLatin1(p.name);
        seeds << Seed{numbered("param", index++),
                      wire(paramValue(name, p.typical, kParamTypeReal32))};
        for (float hostile : kHostileValues)
            seeds << Seed{numbered("param", index++),
                          wire(paramValue(name, hostile, kParamTypeInt32))};
    }
}

void addStatusTextSeeds(QList<Seed> &seeds)
{
    int index = 0;
    for (const QByteArray &text : accelCalibrationTexts())
        seeds << Seed{numbered("accel", index++), wire(statusText(kSeverityNotice, text))};
    index = 0;
    for (const QByteArray &text : preArmReports())
        seeds << Seed{numbered("prearm", index++), wire(statusText(kSeverityError, text))};
    seeds << Seed{QStringLiteral("text-audio"),
                  wire(statusText(kSeverityNotice, "#audio:calibrate"))};
    seeds << Seed{QStringLiteral("text-full"),
                  wire(statusText(kSeverityError, QByteArray(50, 'P')))};
}

// The live values, at ordinary and extreme readings.
void addLiveValueSeeds(QList<Seed> &seeds)
{
    seeds << Seed{QStringLiteral("heartbeat-disarmed"), wire(heartbeat(0))};
    seeds << Seed{QStringLiteral("heartbeat-armed"), wire(heartbeat(0x80))};
    seeds << Seed{QStringLiteral("sysstatus-12v6"), wire(sysStatus(12600))};
    seeds << Seed{QStringLiteral("sysstatus-max"), wire(sysStatus(0xFFFF))};
    seeds << Seed{QStringLiteral("rawimu"), wire(rawImu())};
    seeds << Seed{QStringLiteral("attitude"), wire(attitude(0.1f, -0.2f, 3.0f))};
    seeds << Seed{QStringLiteral("attitude-nan"),
                  wire(attitude(std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f))};
    seeds << Seed{QStringLiteral("rc-centre"),
                  wire(rcChannelsRaw({1500, 1500, 1100, 1500, 1100, 1500, 1900, 1100}))};
    seeds << Seed{QStringLiteral("rc-extremes"),
                  wire(rcChannelsRaw({0, 65535, 0, 65535, 800, 2200, 1, 65534}))};
    seeds << Seed{QStringLiteral("sensoroffsets"), wire(sensorOffsets())};
}

} // namespace

QList<QByteArray> accelCalibrationTexts()
{
    return QList<QByteArray>(std::begin(kAccelTexts), std::end(kAccelTexts));
}

QList<QByteArray> preArmReports()
{
    QList<QByteArray> reports;
    for (const char *key : kPreArmKeys)
        reports << QByteArray("PreArm: ") + key;
    return reports;
}

QList<Seed> receivePathSeeds()
{
    QList<Seed> seeds;
    addLiveValueSeeds(seeds);
    addParameterSeeds(seeds);
    addStatusTextSeeds(seeds);
    return seeds;
}

QList<Seed> parserSeeds()
{
    const QByteArray rc = wire(rcChannelsRaw({1500, 1500, 1100, 1500, 1100, 1500, 1900, 1100}), 7);
    const QByteArray att = wire(attitude(0.1f, -0.2f, 3.0f), 8);
    const QByteArray beat = wire(heartbeat(0), 9);
    QByteArray maxLength;
    {
        MavLinkMessage msg;
        msg.msgid = 200; // no CRC_EXTRA entry: folded in as 0
        msg.len = kMavLinkMaxPayload;
        for (int i = 0; i < kMavLinkMaxPayload; ++i)
            msg.payload[i] = std::uint8_t(i);
        maxLength = wire(msg);
    }
    MavLinkMessage empty;
    empty.msgid = 3;
    // Claims the whole maximum length: the frames behind it lie inside.
    QByteArray garbledLength = rc;
    garbledLength[1] = char(0xFF);
    garbledLength += att + beat.repeated(16);
    return {
        {QStringLiteral("stream"), rc + att + beat + wire(sysStatus(12000)) +
                                       wire(statusText(kSeverityError, "PreArm: GPS Glitch"))},
        {QStringLiteral("truncated-then-frame"), rc.left(rc.size() - 2) + att},
        {QStringLiteral("foreign-start-byte"), char(0xFE) + att.mid(1) + beat},
        {QStringLiteral("garbage-between"),
         QByteArray("\x00\xEB\x01\xFF", 4) + beat + "noise" + rc},
        {QStringLiteral("garbled-length"), garbledLength},
        {QStringLiteral("max-length"), maxLength},
        {QStringLiteral("zero-length"), wire(empty)},
        {QStringLiteral("paramvalue"),
         wire(paramValue(QStringLiteral("ATC_RATE_FF_ENAB"), 1, kParamTypeInt32))},
        {QStringLiteral("rawimu"), wire(rawImu())},
        {QStringLiteral("sensoroffsets"), wire(sensorOffsets())},
    };
}
