#include "mavlinkbridge.h"
#include "payload.h"

#include <QDebug>

namespace {

constexpr std::uint8_t kAutopilotComponent = 1;
// Radians to degrees as the FC tools have always shown them (not 180/pi).
constexpr double kDegreesPerRadian = 57.3;
const QString kAudioCuePrefix = QStringLiteral("#audio:");

// UTF-8 up to the first 0 byte, or the whole field when there is none.
QString fixedText(const PayloadReader &reader, int offset, int length)
{
    char buffer[kMavStatusTextLength + 1] = {};
    reader.bytes(offset, reinterpret_cast<std::uint8_t *>(buffer), length);
    return QString::fromUtf8(buffer, static_cast<int>(qstrnlen(buffer, length)));
}

} // namespace

void MavLinkBridge::handleMessage(const MavLinkMessage *msg)
{
    switch (msg->msgid) {
    case MavMsg::Heartbeat:
        decodeHeartbeat(*msg);
        break;
    case MavMsg::SysStatus:
        decodeSysStatus(*msg);
        break;
    case MavMsg::ParamValue:
        decodeParamValue(*msg);
        break;
    case MavMsg::RawImu:
        decodeRawImu(*msg);
        break;
    case MavMsg::Attitude:
        decodeAttitude(*msg);
        break;
    case MavMsg::RcChannelsRaw:
        decodeRcChannelsRaw(*msg);
        break;
    case MavMsg::SensorOffsets:
        decodeSensorOffsets(*msg);
        break;
    case MavMsg::StatusText:
        decodeStatusText(*msg);
        break;
    default:
        break;
    }
}

void MavLinkBridge::forgetFc()
{
    fcSystemId = -1;
    othersHeartbeats = 0;
}

// A ground station or a companion computer on the line sends heartbeats of
// its own, disarmed ones; only the FC's tell whether it is armed and alive.
// The FC is the system of the first heartbeat from the autopilot component
// or of the first parameter report, whichever comes first.
bool MavLinkBridge::isFcHeartbeat(const MavLinkMessage &msg)
{
    const bool fromAutopilot = msg.compid == kAutopilotComponent;
    if (fromAutopilot && fcSystemId < 0)
        fcSystemId = msg.sysid;
    const bool fromFc = fromAutopilot && msg.sysid == fcSystemId;
    if (!fromFc)
        ++othersHeartbeats;
    return fromFc;
}

// armedUpdate counts any bit of base_mode of any heartbeat, as the self-test
// page always had it; heartbeatReceived tells the FC's safety-armed flag.
void MavLinkBridge::decodeHeartbeat(const MavLinkMessage &msg)
{
    const std::uint8_t baseMode = PayloadReader(msg).u8(6);
    emit armedUpdate(baseMode != 0);
    if (isFcHeartbeat(msg))
        emit heartbeatReceived((baseMode & kMavModeFlagSafetyArmed) != 0);
}

void MavLinkBridge::decodeSysStatus(const MavLinkMessage &msg)
{
    const std::uint16_t millivolts = PayloadReader(msg).u16(14);
    emit setBatt(static_cast<float>(millivolts / 1000.0));
}

void MavLinkBridge::decodeParamValue(const MavLinkMessage &msg)
{
    if (fcSystemId < 0)
        fcSystemId = msg.sysid;
    const PayloadReader reader(msg);
    QString name = fixedText(reader, 8, kMavParamIdLength);
    const float value = reader.f32(0);
    ParameterReport report;
    report.name = name;
    report.value = value;
    report.count = reader.u16(4);
    report.index = reader.u16(6);
    report.type = reader.u8(24);
    report.systemId = msg.sysid;
    report.componentId = msg.compid;
    // Recorded first, so that whoever setParam reaches finds the value the
    // FC reported among the link's parameters.
    emit parameterReported(report);
    emit setParam(name, QVariant(value));
    qDebug() << "m:" << name << value;
}

void MavLinkBridge::decodeRawImu(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    mavlink_raw_imu_t imu;
    imu.time_usec = reader.u64(0);
    imu.xacc = reader.i16(8);
    imu.yacc = reader.i16(10);
    imu.zacc = reader.i16(12);
    imu.xgyro = reader.i16(14);
    imu.ygyro = reader.i16(16);
    imu.zgyro = reader.i16(18);
    imu.xmag = reader.i16(20);
    imu.ymag = reader.i16(22);
    imu.zmag = reader.i16(24);
    emit rawImuMessageUpdate(imu);
}

void MavLinkBridge::decodeAttitude(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    emit setATT(double(reader.f32(4)) * kDegreesPerRadian,
                double(reader.f32(8)) * kDegreesPerRadian,
                double(reader.f32(12)) * kDegreesPerRadian);
}

// The array lives only for the duration of the signal.
void MavLinkBridge::decodeRcChannelsRaw(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    unsigned short radioInput[kMavRcChannels];
    for (int i = 0; i < kMavRcChannels; ++i)
        radioInput[i] = reader.u16(4 + 2 * i);
    emit setRadioInput(radioInput);
}

void MavLinkBridge::decodeSensorOffsets(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    mavlink_sensor_offsets_t offsets;
    offsets.mag_declination = reader.f32(0);
    offsets.raw_press = reader.i32(4);
    offsets.raw_temp = reader.i32(8);
    offsets.gyro_cal_x = reader.f32(12);
    offsets.gyro_cal_y = reader.f32(16);
    offsets.gyro_cal_z = reader.f32(20);
    offsets.accel_cal_x = reader.f32(24);
    offsets.accel_cal_y = reader.f32(28);
    offsets.accel_cal_z = reader.f32(32);
    offsets.mag_ofs_x = reader.i16(36);
    offsets.mag_ofs_y = reader.i16(38);
    offsets.mag_ofs_z = reader.i16(40);
    emit sensorOffsetsMessageUpdate(offsets);
}

// Audio cues are meant for a speaker, not for the pages.
void MavLinkBridge::decodeStatusText(const MavLinkMessage &msg)
{
    const PayloadReader reader(msg);
    const int severity = reader.u8(0);
    const QString text = fixedText(reader, 1, kMavStatusTextLength);
    if (!text.startsWith(kAudioCuePrefix, Qt::CaseSensitive))
        emit textMessageReceived(1, 1, severity, text);
    qDebug() << text;
}
