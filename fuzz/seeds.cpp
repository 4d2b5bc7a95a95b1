#include "seeds.h"

#include "fc/fcconventions.h"
#include "fc/statustexts.h"
#include "fcsim/fcmessages.h"
#include "mavlink/payload.h"

#include <limits>

namespace {

using namespace FcMessages;

QByteArray wire(MavLinkMessage msg, std::uint8_t seq = 0)
{
    return toWire(msg, seq);
}

MavLinkMessage rawImu()
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::RawImu;
    msg.len = MavLength::RawImu;
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
    msg.len = MavLength::SensorOffsets;
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
    QString name;
    float typical;
};

QString channelParam(const char *pattern, int channel)
{
    return QString::fromLatin1(pattern).arg(channel);
}

const ParameterCase kParameters[] = {
    {Fc::kFirmwareVersionParam, Fc::kSupportedFirmware},
    {Fc::kFrameParam, 1},
    {Fc::kShapeParam, 1},
    {Fc::kReceiverTypeParam, 2},
    {Fc::kVoltageMultiplierParam, 10},
    {Fc::kBatteryFailsafeParam, 1},
    {Fc::kBatteryWarningParam, 11},
    {Fc::kBatteryFailsafeVoltageParam, 10.5f},
    {Fc::kRollRateDParam, 0.012f},
    {Fc::kPitchRateDParam, 0.012f},
    {Fc::kYawRatePParam, 0.3f},
    {Fc::kFeedForwardParam, Fc::kFeelSport},
    {Fc::kChannel8OptionParam, Fc::kChannelOptionFeel},
    {Fc::kReturnAltitudeParam, 3000},
    {channelParam(Fc::kRcMinParam, 1), 1100},
    {channelParam(Fc::kRcMaxParam, kMavRcChannels), 1900},
    {Fc::kRollRatePParam, 0.15f},
    {Fc::kRollRateIParam, 0.1f},
    {Fc::kPitchRatePParam, 0.15f},
    {Fc::kPitchRateIParam, 0.1f},
};

// Values that have broken conversions elsewhere: out of every range,
// negative, not finite.
const float kHostileValues[] = {0.0f,
                                -1.0f,
                                3e9f,
                                -3e9f,
                                std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN()};

QString numbered(const char *prefix, int index)
{
    return QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(index, 3, 10, QLatin1Char('0'));
}

void addParameterSeeds(QList<Seed> &seeds)
{
    int index = 0;
    for (const ParameterCase &p : kParameters) {
        seeds << Seed{numbered("param", index++),
                      wire(paramValue(p.name, p.typical, ParamType::Real32))};
        for (float hostile : kHostileValues)
            seeds << Seed{numbered("param", index++),
                          wire(paramValue(p.name, hostile, ParamType::Int32))};
    }
}

void addStatusTextSeeds(QList<Seed> &seeds)
{
    int index = 0;
    for (const QByteArray &text : accelCalibrationTexts())
        seeds << Seed{numbered("accel", index++), wire(statusText(MavSeverity::Notice, text))};
    index = 0;
    for (const QByteArray &text : preArmReports())
        seeds << Seed{numbered("prearm", index++), wire(statusText(MavSeverity::Error, text))};
    seeds << Seed{QStringLiteral("text-audio"),
                  wire(statusText(MavSeverity::Notice, "#audio:calibrate"))};
    seeds << Seed{QStringLiteral("text-full"),
                  wire(statusText(MavSeverity::Error, QByteArray(kMavStatusTextLength, 'P')))};
}

// The live values, at ordinary and extreme readings.
void addLiveValueSeeds(QList<Seed> &seeds)
{
    seeds << Seed{QStringLiteral("heartbeat-disarmed"), wire(heartbeat(0))};
    seeds << Seed{QStringLiteral("heartbeat-armed"), wire(heartbeat(kMavModeFlagSafetyArmed))};
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

// The FC's own prompts call it "vehicle".
QList<QByteArray> accelCalibrationTexts()
{
    QList<QByteArray> texts;
    for (const Fc::AccelFace &face : Fc::kAccelFaces)
        texts << Fc::accelFacePrompt("vehicle", face);
    return texts << Fc::kAccelSucceeded << Fc::kAccelFailedText;
}

QList<QByteArray> preArmReports()
{
    QList<QByteArray> reports;
    for (const char *problem : Fc::kPreArmProblems)
        reports << Fc::preArmReport(problem);
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
        {QStringLiteral("stream"),
         rc + att + beat + wire(sysStatus(12000)) +
             wire(statusText(MavSeverity::Error, Fc::preArmReport(Fc::kGpsGlitch)))},
        {QStringLiteral("truncated-then-frame"), rc.left(rc.size() - 2) + att},
        {QStringLiteral("foreign-start-byte"), char(0xFE) + att.mid(1) + beat},
        {QStringLiteral("garbage-between"),
         QByteArray("\x00\xEB\x01\xFF", 4) + beat + "noise" + rc},
        {QStringLiteral("garbled-length"), garbledLength},
        {QStringLiteral("max-length"), maxLength},
        {QStringLiteral("zero-length"), wire(empty)},
        {QStringLiteral("paramvalue"),
         wire(paramValue(QString::fromLatin1(Fc::kFeedForwardParam), 1, ParamType::Int32))},
        {QStringLiteral("rawimu"), wire(rawImu())},
        {QStringLiteral("sensoroffsets"), wire(sensorOffsets())},
    };
}
