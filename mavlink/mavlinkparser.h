#pragma once

#include "mavlinkmessage.h"

// Byte-by-byte receive state machine. Constant work per byte, no allocation.
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
