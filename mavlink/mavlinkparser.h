#pragma once

#include "checksum.h"
#include "mavlinkmessage.h"

// Byte-by-byte receive state machine. Constant work per byte, no allocation.
// Defined inline: it runs once per received byte, and a call per byte costs
// about as much as the step itself.
class MavLinkParser
{
public:
    enum class State
    {
        Uninit,
        Idle,
        GotStx,
        GotLength,
        GotSeq,
        GotSysId,
        GotCompId,
        GotMsgId,
        GotPayload,
        GotCrc1
    };

    // True when this byte completed a checksum-valid frame, available as
    // message() until the next byte is fed.
    bool parseByte(std::uint8_t x);

    const MavLinkMessage &message() const { return rxMessage; }
    State state() const { return parseState; }

private:
    void startFrame(std::uint8_t x);
    void dropFrame(std::uint8_t x);
    void storeHeaderByte(std::uint8_t &field, std::uint8_t x, State next);

    State parseState = State::Uninit;
    std::uint8_t packetIndex = 0;
    bool messageReceived = false;
    MavLinkMessage rxMessage;
};

inline void MavLinkParser::startFrame(std::uint8_t x)
{
    rxMessage.magic = x;
    rxMessage.len = 0;
    rxMessage.checksum = kCrcInit;
    parseState = State::GotStx;
}

inline void MavLinkParser::storeHeaderByte(std::uint8_t &field, std::uint8_t x, State next)
{
    field = x;
    crcAccumulate(x, rxMessage.checksum);
    parseState = next;
}

// A mismatching checksum byte drops the frame; if it is a start byte it is
// taken as the beginning of the next frame, so a truncated frame does not
// also cost its follower.
inline void MavLinkParser::dropFrame(std::uint8_t x)
{
    if (x == kMavLinkStx)
        startFrame(x);
    else
        parseState = State::Idle;
}

inline bool MavLinkParser::parseByte(std::uint8_t x)
{
    messageReceived = false;
    switch (parseState) {
    case State::Uninit:
    case State::Idle:
        if (x == kMavLinkStx)
            startFrame(x);
        break;
    case State::GotStx:
        packetIndex = 0;
        storeHeaderByte(rxMessage.len, x, State::GotLength);
        break;
    case State::GotLength:
        storeHeaderByte(rxMessage.seq, x, State::GotSeq);
        break;
    case State::GotSeq:
        storeHeaderByte(rxMessage.sysid, x, State::GotSysId);
        break;
    case State::GotSysId:
        storeHeaderByte(rxMessage.compid, x, State::GotCompId);
        break;
    case State::GotCompId:
        storeHeaderByte(rxMessage.msgid, x,
                        rxMessage.len > 0 ? State::GotMsgId : State::GotPayload);
        break;
    case State::GotMsgId:
        rxMessage.payload[packetIndex++] = x;
        crcAccumulate(x, rxMessage.checksum);
        if (packetIndex == rxMessage.len)
            parseState = State::GotPayload;
        break;
    case State::GotPayload:
        crcAccumulate(crcExtra(rxMessage.msgid), rxMessage.checksum);
        if (x != (rxMessage.checksum & 0xFF)) {
            dropFrame(x);
            break;
        }
        rxMessage.payload[packetIndex] = x;
        parseState = State::GotCrc1;
        break;
    case State::GotCrc1:
        if (x != (rxMessage.checksum >> 8)) {
            dropFrame(x);
            break;
        }
        rxMessage.payload[packetIndex + 1] = x;
        messageReceived = true;
        parseState = State::Idle;
        break;
    }
    return messageReceived;
}
