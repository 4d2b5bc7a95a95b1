#include "fcmessages.h"

#include "mavlink/checksum.h"
#include "mavlink/payload.h"

namespace FcMessages {

namespace {

constexpr std::uint8_t kTypeQuadrotor = 2;
constexpr std::uint8_t kAutopilotGeneric = 0;
constexpr std::uint8_t kStateStandby = 3;
constexpr std::uint8_t kMavLinkVersion = 3;
constexpr std::uint8_t kRssiUnknown = 255;

MavLinkMessage emptyMessage(std::uint8_t msgid, std::uint8_t length)
{
    MavLinkMessage msg;
    msg.msgid = msgid;
    msg.len = length;
    return msg;
}

void putText(PayloadWriter &writer, int offset, const QByteArray &text, int fieldLength)
{
    const QByteArray clipped = text.left(fieldLength);
    writer.putBytes(offset, reinterpret_cast<const std::uint8_t *>(clipped.constData()),
                    clipped.size());
}

} // namespace

MavLinkMessage heartbeat(std::uint8_t baseMode)
{
    MavLinkMessage msg = emptyMessage(MavMsg::Heartbeat, MavLength::Heartbeat);
    PayloadWriter writer(msg);
    writer.putU32(0, 0); // custom_mode
    writer.putU8(4, kTypeQuadrotor);
    writer.putU8(5, kAutopilotGeneric);
    writer.putU8(6, baseMode);
    writer.putU8(7, kStateStandby);
    writer.putU8(8, kMavLinkVersion);
    return msg;
}

// Only the battery voltage means anything; current and remaining charge are
// reported as unknown (-1).
MavLinkMessage sysStatus(std::uint16_t batteryMillivolts)
{
    MavLinkMessage msg = emptyMessage(MavMsg::SysStatus, MavLength::SysStatus);
    PayloadWriter writer(msg);
    writer.putU16(14, batteryMillivolts);
    writer.putI16(16, -1);
    writer.putU8(30, 0xFF);
    return msg;
}

MavLinkMessage paramValue(const QString &name, float value, std::uint8_t type, std::uint16_t count,
                          std::uint16_t index)
{
    MavLinkMessage msg = emptyMessage(MavMsg::ParamValue, MavLength::ParamValue);
    PayloadWriter writer(msg);
    writer.putFloat(0, value);
    writer.putU16(4, count);
    writer.putU16(6, index);
    putText(writer, 8, name.toLatin1(), kMavParamIdLength);
    writer.putU8(24, type);
    return msg;
}

MavLinkMessage statusText(std::uint8_t severity, const QByteArray &text)
{
    MavLinkMessage msg = emptyMessage(MavMsg::StatusText, MavLength::StatusText);
    PayloadWriter writer(msg);
    writer.putU8(0, severity);
    putText(writer, 1, text, kMavStatusTextLength);
    return msg;
}

MavLinkMessage rcChannelsRaw(const QVector<std::uint16_t> &channels, std::uint32_t timeBootMs)
{
    MavLinkMessage msg = emptyMessage(MavMsg::RcChannelsRaw, MavLength::RcChannelsRaw);
    PayloadWriter writer(msg);
    writer.putU32(0, timeBootMs);
    for (int i = 0; i < kMavRcChannels && i < channels.size(); ++i)
        writer.putU16(4 + 2 * i, channels[i]);
    writer.putU8(21, kRssiUnknown);
    return msg;
}

MavLinkMessage attitude(float roll, float pitch, float yaw, std::uint32_t timeBootMs)
{
    MavLinkMessage msg = emptyMessage(MavMsg::Attitude, MavLength::Attitude);
    PayloadWriter writer(msg);
    writer.putU32(0, timeBootMs);
    writer.putFloat(4, roll);
    writer.putFloat(8, pitch);
    writer.putFloat(12, yaw);
    return msg;
}

QByteArray toWire(MavLinkMessage &msg, std::uint8_t seq)
{
    const int length =
        finalizeFrame(msg, seq, kSystemId, kComponentId, msg.len, crcExtra(msg.msgid));
    return QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), length);
}

} // namespace FcMessages
