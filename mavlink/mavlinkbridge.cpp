#include "mavlinkbridge.h"

#include "checksum.h"
#include "payload.h"

#include <QDebug>

namespace {

// Header values of the frames the assistant sends.
constexpr std::uint8_t kGcsSystemId = 1;
constexpr std::uint8_t kGcsComponentId = 1;
constexpr std::uint8_t kParamSystemId = 0;
constexpr std::uint8_t kTargetSystem = 1;

constexpr std::int16_t kByName = -1;

// As much of the name as the field holds, as single bytes, zero-padded, with
// no terminator when the name fills the field.
void putParamId(PayloadWriter &writer, int offset, const QString &name)
{
    const QByteArray bytes = name.left(kMavParamIdLength).toLatin1();
    writer.putBytes(offset, reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                    bytes.size());
}

} // namespace

bool MavLinkBridge::toWireValue(const QVariant &value, float &number, std::uint8_t &type)
{
    switch (static_cast<QMetaType::Type>(value.userType())) {
    case QMetaType::Int:
        number = static_cast<float>(value.toInt());
        type = ParamType::Int32;
        return true;
    case QMetaType::UInt:
        number = static_cast<float>(value.toUInt());
        type = ParamType::Uint32;
        return true;
    case QMetaType::QChar: {
        const ushort code = value.toChar().unicode();
        number = code > 255 ? 0.0f : static_cast<float>(code);
        type = ParamType::Int8;
        return true;
    }
    case QMetaType::Float:
        number = value.value<float>();
        type = ParamType::Real32;
        return true;
    default:
        qCritical("ABORTED PARAM SEND, NO VALID QVARIANT TYPE");
        return false;
    }
}

MavLinkBridge::MavLinkBridge(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<ParameterReport>();
}

void MavLinkBridge::attachSerialPort()
{
    portAttached = true;
    forgetFc();
    qDebug() << "port attached:" << portAttached;
}

void MavLinkBridge::detachSerialPort()
{
    portAttached = false;
    if (othersHeartbeats > 0)
        qDebug() << "heartbeats of other nodes ignored:" << othersHeartbeats;
    forgetFc();
}

int MavLinkBridge::finalizeMessage(MavLinkMessage &msg, std::uint8_t sysid, std::uint8_t compid,
                                   std::uint8_t length, std::uint8_t extra)
{
    return finalizeFrame(msg, txSequence++, sysid, compid, length, extra);
}

void MavLinkBridge::sendFrame(MavLinkMessage &msg, std::uint8_t sysid, std::uint8_t compid,
                              std::uint8_t length, std::uint8_t extra)
{
    const int frameLength = finalizeMessage(msg, sysid, compid, length, extra);
    if (!portAttached)
        return;
    emit frameReady(QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), frameLength));
}

void MavLinkBridge::requestDataStream(std::uint8_t streamId, std::uint16_t rate, bool start)
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::RequestDataStream;
    PayloadWriter writer(msg);
    writer.putU16(0, rate);
    writer.putU8(2, kTargetSystem);
    writer.putU8(3, 0);
    writer.putU8(4, streamId);
    writer.putU8(5, start ? 1 : 0);
    sendFrame(msg, kGcsSystemId, kGcsComponentId, MavLength::RequestDataStream,
              crcExtra(MavMsg::RequestDataStream));
}

// A rate of -1 goes out as 65535 with the start flag set.
void MavLinkBridge::requestStreamAtRate(std::uint8_t streamId, int rate)
{
    requestDataStream(streamId, static_cast<std::uint16_t>(rate & 0xFFFF), rate != 0);
}

void MavLinkBridge::requestAllStreams(int start)
{
    requestDataStream(MavStream::All, 0, start != 0);
}

void MavLinkBridge::requestRawSensorsStream(int rate)
{
    requestStreamAtRate(MavStream::RawSensors, rate);
}

void MavLinkBridge::requestExtendedStatusStream(int rate)
{
    requestStreamAtRate(MavStream::ExtendedStatus, rate);
}

void MavLinkBridge::requestRcChannelsStream(int rate)
{
    requestStreamAtRate(MavStream::RcChannels, rate);
}

void MavLinkBridge::requestPositionStream(int rate)
{
    requestStreamAtRate(MavStream::Position, rate);
}

void MavLinkBridge::requestExtra1Stream(int rate)
{
    requestStreamAtRate(MavStream::Extra1, rate);
}

void MavLinkBridge::requestExtra2Stream(int rate)
{
    requestStreamAtRate(MavStream::Extra2, rate);
}

void MavLinkBridge::requestExtra3Stream(int rate)
{
    requestStreamAtRate(MavStream::Extra3, rate);
}

void MavLinkBridge::sendCommandLong(std::uint16_t command, std::uint8_t confirmation, float param1,
                                    float param2, float param3, float param4, float param5,
                                    float param6, float param7, std::uint8_t targetComponent)
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::CommandLong;
    PayloadWriter writer(msg);
    const float params[] = {param1, param2, param3, param4, param5, param6, param7};
    for (int i = 0; i < 7; ++i)
        writer.putFloat(4 * i, params[i]);
    writer.putU16(28, command);
    writer.putU8(30, kTargetSystem);
    writer.putU8(31, targetComponent);
    writer.putU8(32, confirmation);
    sendFrame(msg, kGcsSystemId, kGcsComponentId, MavLength::CommandLong,
              crcExtra(MavMsg::CommandLong));
}

void MavLinkBridge::sendCommandAck(std::uint16_t command, bool result)
{
    if (!portAttached)
        return;
    MavLinkMessage msg;
    msg.msgid = MavMsg::CommandAck;
    PayloadWriter writer(msg);
    writer.putU16(0, command);
    writer.putU8(2, result ? 1 : 0);
    sendFrame(msg, kGcsSystemId, kGcsComponentId, MavLength::CommandAck,
              crcExtra(MavMsg::CommandAck));
}

void MavLinkBridge::requestParameter(std::uint8_t component, const QString &name)
{
    sendParamRequestRead(component, kByName, name);
}

// An empty name: the FC looks the parameter up by its index.
void MavLinkBridge::requestParameterByIndex(std::uint8_t component, std::int16_t index)
{
    sendParamRequestRead(component, index, QString());
}

void MavLinkBridge::sendParamRequestRead(std::uint8_t component, std::int16_t index,
                                         const QString &name)
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::ParamRequestRead;
    PayloadWriter writer(msg);
    writer.putI16(0, index);
    writer.putU8(2, kTargetSystem);
    writer.putU8(3, component);
    putParamId(writer, 4, name);
    sendFrame(msg, kParamSystemId, component, MavLength::ParamRequestRead,
              crcExtra(MavMsg::ParamRequestRead));
}

void MavLinkBridge::requestParameterList(std::uint8_t component)
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::ParamRequestList;
    PayloadWriter writer(msg);
    writer.putU8(0, kTargetSystem);
    writer.putU8(1, component);
    sendFrame(msg, kParamSystemId, component, MavLength::ParamRequestList,
              crcExtra(MavMsg::ParamRequestList));
}

void MavLinkBridge::setParameter(std::uint8_t component, const QString &name, const QVariant &value)
{
    if (name.isNull() || !portAttached)
        return;
    float number;
    std::uint8_t type;
    if (toWireValue(value, number, type))
        sendParamSet(component, name, number, type);
}

void MavLinkBridge::writeParameter(std::uint8_t component, const QString &name, float value,
                                   std::uint8_t type)
{
    if (name.isNull() || !portAttached)
        return;
    sendParamSet(component, name, value, type);
}

void MavLinkBridge::sendParamSet(std::uint8_t component, const QString &name, float value,
                                 std::uint8_t type)
{
    MavLinkMessage msg;
    msg.msgid = MavMsg::ParamSet;
    PayloadWriter writer(msg);
    writer.putFloat(0, value);
    writer.putU8(4, kTargetSystem);
    writer.putU8(5, component);
    putParamId(writer, 6, name);
    writer.putU8(22, type);
    sendFrame(msg, kParamSystemId, component, MavLength::ParamSet, crcExtra(MavMsg::ParamSet));
}
