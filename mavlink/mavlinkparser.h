#pragma once

#include "checksum.h"
#include "mavlinkmessage.h"

#include <cstring>
#include <utility>

// Byte-by-byte receive state machine, no allocation. Defined inline: it runs
// once per received byte, and a call per byte costs about as much as the
// step itself.
//
// A frame that fails its checksum is scanned again from the byte after its
// start byte, so a garbled length byte costs that one frame and not the
// frames its supposed payload swallowed. Frames start at strictly increasing
// stream positions (a failed start is never retried), so a byte is scanned
// again at most once per start byte in the frame length before it: at most
// 263 steps per byte however the line is garbled.
class MavLinkParser
{
public:
    // Feeds one received byte and calls deliver(const MavLinkMessage &) for
    // each checksum-valid frame it completes, in stream order; several when
    // the byte ends a failed frame with whole frames inside it. The message
    // is only valid during the call.
    template <typename Deliver> void parseByte(std::uint8_t x, Deliver &&deliver);

    // While deliver runs, the frame it was given; the bytes that follow it
    // overwrite it.
    const MavLinkMessage &message() const { return rxMessage; }
    // Frames that failed their checksum; those found inside one when it is
    // scanned again are not counted.
    std::uint32_t failedFrames() const { return failures; }

private:
    enum class State
    {
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
    enum class Step
    {
        Pending,
        Complete,
        BadChecksumLow,
        BadChecksumHigh
    };

    Step step(std::uint8_t x);
    void startFrame(std::uint8_t x);
    void storeHeaderByte(std::uint8_t &field, std::uint8_t x, State next);
    template <typename Deliver> void rescanFailedFrame(Step failure, Deliver &deliver);

    State parseState = State::Idle;
    std::uint8_t packetIndex = 0;
    std::uint32_t failures = 0;
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

// Checksum bytes are stored before they are judged: a failed frame's bytes
// are then all in the record for the rescan.
inline MavLinkParser::Step MavLinkParser::step(std::uint8_t x)
{
    switch (parseState) {
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
        rxMessage.payload[packetIndex] = x;
        if (x != (rxMessage.checksum & 0xFF)) {
            parseState = State::Idle;
            return Step::BadChecksumLow;
        }
        parseState = State::GotCrc1;
        break;
    case State::GotCrc1:
        rxMessage.payload[packetIndex + 1] = x;
        parseState = State::Idle;
        return x == (rxMessage.checksum >> 8) ? Step::Complete : Step::BadChecksumHigh;
    }
    return Step::Pending;
}

template <typename Deliver> void MavLinkParser::parseByte(std::uint8_t x, Deliver &&deliver)
{
    const Step result = step(x);
    if (result == Step::Pending)
        return;
    if (result == Step::Complete) {
        deliver(std::as_const(rxMessage));
        return;
    }
    ++failures;
    rescanFailedFrame(result, deliver);
}

// Feeds the failed frame's bytes after its start byte through the steps
// again. A frame that starts among them and fails as well is rescanned from
// the byte after its own start byte, out of the local copy; one still open
// at their end goes on with the next bytes received.
template <typename Deliver> void MavLinkParser::rescanFailedFrame(Step failure, Deliver &deliver)
{
    const int count = kMavLinkHeaderLength - 1 + rxMessage.len +
                      (failure == Step::BadChecksumLow ? 1 : kMavLinkChecksumLength);
    std::uint8_t bytes[kMavLinkHeaderLength - 1 + kMavLinkMaxPayload + kMavLinkChecksumLength];
    std::memcpy(bytes, rxMessage.frameBegin() + 1, std::size_t(count));
    int frameStart = 0;
    for (int i = 0; i < count; ++i) {
        const Step result = step(bytes[i]);
        if (parseState == State::GotStx)
            frameStart = i;
        if (result == Step::Complete)
            deliver(std::as_const(rxMessage));
        else if (result != Step::Pending)
            i = frameStart;
    }
}
