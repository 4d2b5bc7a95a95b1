#pragma once

#include "mavlink/mavlinkmessage.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A frame seen on the line, with the decoded fields of the message types the
// assistant sends.
struct WireFrame
{
    QByteArray bytes;
    MavLinkMessage msg;

    int msgid() const { return msg.msgid; }
    QString paramName() const;           // PARAM_SET or PARAM_REQUEST_READ
    float paramValue() const;            // PARAM_SET
    int paramType() const;               // PARAM_SET
    int paramIndex() const;              // PARAM_REQUEST_READ
    int streamId() const;                // REQUEST_DATA_STREAM
    int streamRate() const;              // REQUEST_DATA_STREAM
    int streamStart() const;             // REQUEST_DATA_STREAM
    int command() const;                 // COMMAND_LONG or COMMAND_ACK
    float commandParam(int index) const; // COMMAND_LONG, 1..7
    int ackResult() const;               // COMMAND_ACK
};

// Every checksum-valid frame in the bytes, in order.
QList<WireFrame> parseFrames(const QByteArray &bytes);

// Compact description used in test failure messages and comparisons, e.g.
// "set RC_TYPE=3 (6)", "get FRAME", "get #12" (by index), "list", "stream 3 rate 2 start 1",
// "cmd 241", "ack 5".
QString describe(const WireFrame &frame);
QStringList describeAll(const QList<WireFrame> &frames);

// Builds a frame as the FC would send it.
QByteArray fcFrame(std::uint8_t msgid, const QByteArray &payload, std::uint8_t seq = 0);
QByteArray paramValueFrame(const QString &name, float value, int type = ParamType::Real32);
QByteArray statusTextFrame(int severity, const QByteArray &text);
QByteArray rcChannelsFrame(const QList<unsigned short> &channels);
QByteArray attitudeFrame(float roll, float pitch, float yaw);
QByteArray sysStatusFrame(std::uint16_t millivolts);
QByteArray heartbeatFrame(std::uint8_t baseMode);
// A message as another node on the line sends it, or an FC with other ids.
QByteArray frameFrom(std::uint8_t systemId, std::uint8_t componentId, MavLinkMessage msg);

QByteArray fromHex(const char *spaced);
