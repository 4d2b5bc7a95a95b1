#include "fcsimulator.h"

#include "fcmessages.h"

#include "fc/fcconventions.h"
#include "fc/statustexts.h"
#include "fc/units.h"
#include "mavlink/payload.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kHeartbeatMs = 1000;
// What a real FC sends at most, whatever it is asked for.
constexpr int kMaxStreamRate = 50;

// A PARAM_VALUE frame is 33 bytes; 115200 baud carries 11520 bytes a second.
// 300 frames a second leave room for the streams, in bursts of a few frames.
constexpr int kListFramesPerSecond = 300;
constexpr int kListTickMs = 10;
constexpr int kListBurstFrames = 4;

// Gives the drops a sequence of their own, apart from the line noise.
constexpr std::uint32_t kDropSeedSalt = 0x5041524D;

// What "all" sets: every stream the assistant asks for.
constexpr int kStreams[] = {MavStream::RawSensors, MavStream::ExtendedStatus, MavStream::RcChannels,
                            MavStream::Position,   MavStream::Extra1,         MavStream::Extra2,
                            MavStream::Extra3};

// A disarmed FC still reports its custom-mode flag.
constexpr std::uint8_t kBaseModeDisarmed = 1;

// The simulator's prompts name it; the page looks only for their keywords.
const QByteArray kVehicle = QByteArrayLiteral("FC");

constexpr std::uint16_t kRcLowest = 1100;
constexpr std::uint16_t kRcCentre = 1500;
constexpr std::uint16_t kRcHighest = 1900;
// A stick rises for 1.5 s, rests 0.5 s at the top, falls and rests at the
// bottom; each stick a second behind the previous one.
constexpr int kStickPeriodMs = 4000;
constexpr int kStickTravelMs = 1500;
constexpr int kStickRestMs = 500;
constexpr int kStickPhaseMs = 1000;
static_assert(kStickTravelMs + kStickRestMs == kStickPeriodMs / 2, "a stick's half period");
constexpr int kSwitchStepMs = 1000;
constexpr double kPi = 3.14159265358979323846;

QString paramIdAt(const PayloadReader &reader, int offset)
{
    char name[kMavParamIdLength + 1] = {};
    reader.bytes(offset, reinterpret_cast<std::uint8_t *>(name), kMavParamIdLength);
    return QString::fromLatin1(name);
}

bool isRcLimit(const QString &name)
{
    for (int channel = 1; channel <= kMavRcChannels; ++channel) {
        if (name == QString::fromLatin1(Fc::kRcMinParam).arg(channel) ||
            name == QString::fromLatin1(Fc::kRcMaxParam).arg(channel))
            return true;
    }
    return false;
}

} // namespace

FcSimulator::FcSimulator(QObject *parent) : QObject(parent)
{
    bootClock.start();
    connect(&heartbeatTimer, &QTimer::timeout, this, &FcSimulator::sendHeartbeat);
    connect(&radioTimer, &StreamTimer::tick, this, &FcSimulator::sendRadio);
    connect(&attitudeTimer, &StreamTimer::tick, this, &FcSimulator::sendAttitude);
    connect(&statusTimer, &StreamTimer::tick, this, &FcSimulator::sendSysStatus);
    connect(&listTimer, &QTimer::timeout, this, &FcSimulator::sendParameterListBurst);
    heartbeatTimer.start(kHeartbeatMs);
}

void FcSimulator::setFirmwareVersion(int version)
{
    setParameter(QString::fromLatin1(Fc::kFirmwareVersionParam), float(version));
}

void FcSimulator::setFaultRate(double rate, std::uint32_t seed)
{
    noise = LineNoise(rate, seed);
}

void FcSimulator::setParamDropRate(double rate, std::uint32_t seed)
{
    paramDropRate = rate;
    std::seed_seq sequence{seed, kDropSeedSalt};
    dropRandom.seed(sequence);
}

void FcSimulator::clampParameter(const QString &name, float lowest, float highest)
{
    clamps.insert(name, {lowest, highest});
}

bool FcSimulator::hasParameter(const QString &name) const
{
    return params.indexOf(name) >= 0;
}

float FcSimulator::parameter(const QString &name) const
{
    const int index = params.indexOf(name);
    return index < 0 ? std::numeric_limits<float>::quiet_NaN() : params.at(index).value;
}

void FcSimulator::setParameter(const QString &name, float value)
{
    const int index = params.indexOf(name);
    if (index >= 0)
        params.setValue(index, value);
}

void FcSimulator::clearReceived()
{
    received.clear();
    receivedRaw.clear();
}

void FcSimulator::setRadio(const QVector<std::uint16_t> &channels)
{
    fixedRadio = channels;
}

void FcSimulator::setAttitude(float roll, float pitch, float yaw)
{
    attitudeFixed = true;
    fixedAttitude = {roll, pitch, yaw};
}

void FcSimulator::startStream(int streamId, int hz)
{
    if (streamId == MavStream::All) {
        for (int stream : kStreams)
            requestedRates[stream] = hz;
    } else {
        requestedRates[streamId] = hz;
    }
    updateStreamTimers();
}

void FcSimulator::setStreamRate(double hz)
{
    forcedRate = hz;
    updateStreamTimers();
}

double FcSimulator::streamRate(int streamId) const
{
    const int requested = requestedRates.value(streamId);
    if (requested <= 0)
        return 0;
    return forcedRate > 0 ? forcedRate : std::min(requested, kMaxStreamRate);
}

void FcSimulator::sendStatusText(int severity, const QString &text)
{
    send(FcMessages::statusText(std::uint8_t(severity), text.toUtf8()));
}

void FcSimulator::sendParameter(const QString &name)
{
    const int index = params.indexOf(name);
    if (index >= 0)
        sendParameterAt(index);
}

void FcSimulator::receiveBytes(const QByteArray &bytes)
{
    receivedRaw.append(bytes);
    for (char byte : bytes) {
        parser.parseByte(std::uint8_t(byte), [this](const MavLinkMessage &frame) {
            const MavLinkMessage msg = frame;
            received.append(msg);
            emit frameReceived(msg);
            handleFrame(msg);
        });
    }
}

void FcSimulator::handleFrame(const MavLinkMessage &msg)
{
    switch (msg.msgid) {
    case MavMsg::ParamRequestList:
        handleParamRequestList();
        break;
    case MavMsg::ParamRequestRead:
        handleParamRequestRead(msg);
        break;
    case MavMsg::ParamSet:
        handleParamSet(msg);
        break;
    case MavMsg::RequestDataStream:
        handleRequestDataStream(msg);
        break;
    case MavMsg::CommandLong:
        handleCommandLong(msg);
        break;
    case MavMsg::CommandAck:
        handleCommandAck();
        break;
    default:
        break;
    }
}

// A new request starts the list again from the top.
void FcSimulator::handleParamRequestList()
{
    listNext = 0;
    listClock.start();
    listTimer.start(kListTickMs);
    sendParameterListBurst();
}

void FcSimulator::handleParamRequestRead(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    const int requestedIndex = reader.i16(0);
    const int index = requestedIndex >= 0 ? requestedIndex : params.indexOf(paramIdAt(reader, 4));
    if (index >= 0 && index < params.count())
        answerParameter(index);
}

void FcSimulator::handleParamSet(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    const QString name = paramIdAt(reader, 6);
    const int index = params.indexOf(name);
    if (index < 0)
        return;
    const Limits limits = clamps.value(name, {-INFINITY, INFINITY});
    if (name != QLatin1String(Fc::kFirmwareVersionParam))
        params.setValue(index, qBound(limits.lowest, reader.f32(0), limits.highest));
    if (isRcLimit(name))
        rcLimitsWritten = true;
    answerParameter(index);
}

void FcSimulator::handleRequestDataStream(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    const bool start = reader.u8(5) != 0;
    startStream(reader.u8(4), start ? reader.u16(0) : 0);
}

void FcSimulator::handleCommandLong(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    if (reader.u16(28) != Fc::kPreflightCalibration)
        return;
    if (reader.f32(16) == Fc::kAccelCalibrationParam5)
        startAccelCalibration();
    else if (reader.f32(20) == Fc::kSelfTestParam6)
        sendPreArmReport();
}

// The assistant's click on "Next" confirms the face asked for last; its
// closing acknowledgements after the run find no calibration and change
// nothing.
void FcSimulator::handleCommandAck()
{
    if (accelFace < 0)
        return;
    ++accelFace;
    if (accelFace < Fc::kAccelFaceCount)
        sendAccelPrompt();
    else
        finishAccelCalibration();
}

void FcSimulator::updateStreamTimers()
{
    radioTimer.start(streamRate(MavStream::RcChannels));
    statusTimer.start(streamRate(MavStream::ExtendedStatus));
    attitudeTimer.start(streamRate(MavStream::Extra1));
}

void FcSimulator::sendParameterAt(int index)
{
    const FcParameter &p = params.at(index);
    send(FcMessages::paramValue(p.name, p.value, p.type, std::uint16_t(params.count()),
                                std::uint16_t(index)));
}

void FcSimulator::answerParameter(int index)
{
    if (!dropsParamAnswer())
        sendParameterAt(index);
}

bool FcSimulator::dropsParamAnswer()
{
    return paramDropRate > 0.0 && dropChance(dropRandom) < paramDropRate;
}

// Paced by the clock since the request, not by the ticks: a late tick makes
// up a little, never more than one short burst.
void FcSimulator::sendParameterListBurst()
{
    const qint64 due = listClock.elapsed() * kListFramesPerSecond / 1000 + 1;
    const qint64 end = std::min({due, qint64(listNext + kListBurstFrames), qint64(params.count())});
    while (listNext < end)
        answerParameter(listNext++);
    if (listNext >= params.count())
        listTimer.stop();
}

void FcSimulator::sendPreArmReport()
{
    QList<QByteArray> problems;
    if (!rcLimitsWritten)
        problems << Fc::kRcNotCalibrated;
    if (!accelDone)
        problems << Fc::kInsNotCalibrated;
    if (problems.isEmpty())
        problems << "checks passed";
    for (const QByteArray &problem : problems)
        sendStatusText(MavSeverity::Error, QString::fromLatin1(Fc::preArmReport(problem)));
}

void FcSimulator::startAccelCalibration()
{
    accelFace = 0;
    sendAccelPrompt();
}

void FcSimulator::sendAccelPrompt()
{
    sendStatusText(MavSeverity::Notice,
                   QString::fromLatin1(Fc::accelFacePrompt(kVehicle, Fc::kAccelFaces[accelFace])));
}

void FcSimulator::finishAccelCalibration()
{
    accelFace = -1;
    accelDone = !accelFails;
    sendStatusText(MavSeverity::Notice,
                   QString::fromLatin1(accelFails ? Fc::kAccelFailedText : Fc::kAccelSucceeded));
}

void FcSimulator::setHeartbeatSilenced(bool silenced)
{
    if (silenced)
        heartbeatTimer.stop();
    else
        heartbeatTimer.start(kHeartbeatMs);
}

void FcSimulator::sendHeartbeat()
{
    send(FcMessages::heartbeat(armed ? kBaseModeDisarmed | kMavModeFlagSafetyArmed
                                     : kBaseModeDisarmed));
}

void FcSimulator::sendRadio()
{
    const std::uint32_t ms = timeBootMs();
    send(FcMessages::rcChannelsRaw(fixedRadio.isEmpty() ? sweptRadio(ms) : fixedRadio, ms));
}

// The rests make every rate that is watched for a while see both ends.
QVector<std::uint16_t> FcSimulator::sweptRadio(std::uint32_t ms) const
{
    QVector<std::uint16_t> channels;
    const int span = kRcHighest - kRcLowest;
    for (int stick = 0; stick < 4; ++stick) {
        const int phase = int((ms + std::uint32_t(stick * kStickPhaseMs)) % kStickPeriodMs);
        const int half = phase % (kStickPeriodMs / 2);
        const int travelled = std::min(half, kStickTravelMs);
        const int rise = phase < kStickPeriodMs / 2 ? travelled : kStickTravelMs - travelled;
        channels << std::uint16_t(kRcLowest + span * rise / kStickTravelMs);
    }
    const std::uint16_t positions[] = {kRcLowest, kRcCentre, kRcHighest};
    for (std::uint32_t sw = 0; sw < 4; ++sw)
        channels << positions[(ms / kSwitchStepMs + sw) % 3];
    return channels;
}

void FcSimulator::sendAttitude()
{
    const std::uint32_t ms = timeBootMs();
    const Attitude a = attitudeFixed ? fixedAttitude : movingAttitude(ms);
    send(FcMessages::attitude(a.roll, a.pitch, a.yaw, ms));
}

// A gentle rocking while the heading turns slowly.
FcSimulator::Attitude FcSimulator::movingAttitude(std::uint32_t ms) const
{
    const double t = ms / 1000.0;
    const double yaw = std::remainder(0.3 * t, 2 * kPi);
    return {float(0.35 * std::sin(0.8 * t)), float(0.25 * std::sin(0.5 * t)), float(yaw)};
}

void FcSimulator::sendSysStatus()
{
    const float multiplier = parameter(QString::fromLatin1(Fc::kVoltageMultiplierParam));
    const double millivolts = Fc::batteryVolts(pinVoltage, multiplier) * 1000.0;
    send(FcMessages::sysStatus(std::uint16_t(qBound(0.0, std::round(millivolts), 65535.0))));
}

std::uint32_t FcSimulator::timeBootMs() const
{
    return std::uint32_t(bootClock.elapsed());
}

void FcSimulator::send(MavLinkMessage msg)
{
    const QByteArray frame = FcMessages::toWire(msg, txSequence++);
    emit frameSent(msg);
    emit bytesOut(noise.apply(frame));
}
