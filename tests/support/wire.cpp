#include "wire.h"

#include "mavlink/checksum.h"
#include "mavlink/mavlinkparser.h"
#include "mavlink/payload.h"

#include <QStringList>

namespace {
void putLe(QByteArray &out, int offset, quint32 value, int size)
{
    if (out.size() < offset + size)
        out.resize(offset + size);
    for (int i = 0; i < size; ++i)
        out[offset + i] = char((value >> (8 * i)) & 0xFF);
}

void putFloatLe(QByteArray &out, int offset, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    putLe(out, offset, bits, 4);
}
} // namespace

QString WireFrame::paramName() const
{
    const int offset = msg.msgid == MavMsg::ParamSet ? 6 : 4;
    const char *name = reinterpret_cast<const char *>(msg.payload + offset);
    return QString::fromLatin1(name, int(qstrnlen(name, 16)));
}

float WireFrame::paramValue() const
{
    return PayloadReader(msg).f32(0);
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
        if (parser.parseByte(std::uint8_t(byte))) {
            WireFrame frame;
            frame.msg = parser.message();
            frame.bytes = QByteArray(reinterpret_cast<const char *>(frame.msg.frameBegin()),
                                     frame.msg.frameLength());
            frames.append(frame);
        }
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
        return QStringLiteral("get %1").arg(f.paramName());
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
    std::memcpy(msg.payload, payload.constData(), size_t(payload.size()));
    const int length = finalizeFrame(msg, seq, 1, 1, std::uint8_t(payload.size()), crcExtra(msgid));
    return QByteArray(reinterpret_cast<const char *>(msg.frameBegin()), length);
}

QByteArray paramValueFrame(const QString &name, float value, int type)
{
    QByteArray p(25, 0);
    putFloatLe(p, 0, value);
    putLe(p, 4, 1, 2); // param_count
    putLe(p, 6, 0, 2); // param_index
    const QByteArray id = name.toLatin1().left(16);
    p.replace(8, id.size(), id);
    p[24] = char(type);
    return fcFrame(MavMsg::ParamValue, p);
}

QByteArray statusTextFrame(int severity, const QByteArray &text)
{
    QByteArray p(51, 0);
    p[0] = char(severity);
    p.replace(1, qMin(50, text.size()), text.left(50));
    return fcFrame(MavMsg::StatusText, p);
}

QByteArray rcChannelsFrame(const QList<unsigned short> &channels)
{
    QByteArray p(22, 0);
    for (int i = 0; i < 8 && i < channels.size(); ++i)
        putLe(p, 4 + 2 * i, channels[i], 2);
    return fcFrame(MavMsg::RcChannelsRaw, p);
}

QByteArray attitudeFrame(float roll, float pitch, float yaw)
{
    QByteArray p(28, 0);
    putFloatLe(p, 4, roll);
    putFloatLe(p, 8, pitch);
    putFloatLe(p, 12, yaw);
    return fcFrame(MavMsg::Attitude, p);
}

QByteArray sysStatusFrame(std::uint16_t millivolts)
{
    QByteArray p(31, 0);
    putLe(p, 14, millivolts, 2);
    return fcFrame(MavMsg::SysStatus, p);
}

QByteArray heartbeatFrame(std::uint8_t baseMode)
{
    QByteArray p(9, 0);
    p[6] = char(baseMode);
    return fcFrame(MavMsg::Heartbeat, p);
}

QByteArray fromHex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}
