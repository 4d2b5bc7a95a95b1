#include "wire.h"

#include "fcsim/fcmessages.h"
#include "mavlink/checksum.h"
#include "mavlink/mavlinkparser.h"
#include "mavlink/payload.h"

#include <QStringList>

namespace {
// The FC's own encoders, with sequence number 0.
QByteArray onWire(MavLinkMessage msg)
{
    return FcMessages::toWire(msg, 0);
}
} // namespace

QString WireFrame::paramName() const
{
    const int offset = msg.msgid == MavMsg::ParamSet ? 6 : 4;
    const char *name = reinterpret_cast<const char *>(msg.payload + offset);
    return QString::fromLatin1(name, int(qstrnlen(name, kMavParamIdLength)));
}

float WireFrame::paramValue() const
{
    return PayloadReader(msg).f32(0);
}

int WireFrame::paramIndex() const
{
    return PayloadReader(msg).i16(0);
}

int WireFrame::paramType() const
{
    return PayloadReader(msg).u8(22);
}

int WireFrame::streamId() const
{
    return PayloadReader(msg).u8(4);
}

int WireFrame::streamRate() const
{
    return PayloadReader(msg).u16(0);
}

int WireFrame::streamStart() const
{
    return PayloadReader(msg).u8(5);
}

int WireFrame::command() const
{
    return PayloadReader(msg).u16(msg.msgid == MavMsg::CommandLong ? 28 : 0);
}

float WireFrame::commandParam(int index) const
{
    return PayloadReader(msg).f32(4 * (index - 1));
}

int WireFrame::ackResult() const
{
    return PayloadReader(msg).u8(2);
}

QList<WireFrame> parseFrames(const QByteArray &bytes)
{
    QList<WireFrame> frames;
    MavLinkParser parser;
    for (char byte : bytes) {
        parser.parseByte(std::uint8_t(byte), [&frames](const MavLinkMessage &msg) {
            WireFrame frame;
            frame.msg = msg;
            frame.bytes =
                QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), msg.frameLength());
            frames.append(frame);
        });
    }
    return frames;
}

QString describe(const WireFrame &f)
{
    switch (f.msgid()) {
    case MavMsg::ParamSet:
        return QStringLiteral("set %1=%2 (%3)")
            .arg(f.paramName())
            .arg(double(f.paramValue()), 0, 'g', 9)
            .arg(f.paramType());
    case MavMsg::ParamRequestRead:
        return f.paramName().isEmpty() ? QStringLiteral("get #%1").arg(f.paramIndex())
                                       : QStringLiteral("get %1").arg(f.paramName());
    case MavMsg::ParamRequestList:
        return QStringLiteral("list");
    case MavMsg::RequestDataStream:
        return QStringLiteral("stream %1 rate %2 start %3")
            .arg(f.streamId())
            .arg(f.streamRate())
            .arg(f.streamStart());
    case MavMsg::CommandLong:
        return QStringLiteral("cmd %1").arg(f.command());
    case MavMsg::CommandAck:
        return QStringLiteral("ack %1").arg(f.command());
    default:
        return QStringLiteral("msg %1").arg(f.msgid());
    }
}

QStringList describeAll(const QList<WireFrame> &frames)
{
    QStringList out;
    for (const WireFrame &f : frames)
        out << describe(f);
    return out;
}

QByteArray fcFrame(std::uint8_t msgid, const QByteArray &payload, std::uint8_t seq)
{
    MavLinkMessage msg;
    msg.msgid = msgid;
    msg.len = std::uint8_t(payload.size());
    std::memcpy(msg.payload, payload.constData(), size_t(payload.size()));
    return FcMessages::toWire(msg, seq);
}

QByteArray paramValueFrame(const QString &name, float value, int type)
{
    return onWire(FcMessages::paramValue(name, value, std::uint8_t(type)));
}

QByteArray statusTextFrame(int severity, const QByteArray &text)
{
    return onWire(FcMessages::statusText(std::uint8_t(severity), text));
}

QByteArray rcChannelsFrame(const QList<unsigned short> &channels)
{
    return onWire(
        FcMessages::rcChannelsRaw(QVector<std::uint16_t>(channels.begin(), channels.end())));
}

QByteArray attitudeFrame(float roll, float pitch, float yaw)
{
    return onWire(FcMessages::attitude(roll, pitch, yaw));
}

QByteArray sysStatusFrame(std::uint16_t millivolts)
{
    return onWire(FcMessages::sysStatus(millivolts));
}

QByteArray heartbeatFrame(std::uint8_t baseMode)
{
    return onWire(FcMessages::heartbeat(baseMode));
}

QByteArray frameFrom(std::uint8_t systemId, std::uint8_t componentId, MavLinkMessage msg)
{
    const int length = finalizeFrame(msg, 0, systemId, componentId, msg.len, crcExtra(msg.msgid));
    return QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), length);
}

QByteArray fromHex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}
