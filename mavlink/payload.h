#pragma once

#include "mavlinkmessage.h"

#include <cstring>

// Little-endian field access inside a message payload, independent of the
// host's byte order.
class PayloadWriter
{
public:
    explicit PayloadWriter(MavLinkMessage &message) : msg(message) {}

    void putU8(int offset, std::uint8_t value) { msg.payload[offset] = value; }
    void putU16(int offset, std::uint16_t value)
    {
        msg.payload[offset] = static_cast<std::uint8_t>(value & 0xFF);
        msg.payload[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    void putI16(int offset, std::int16_t value)
    {
        putU16(offset, static_cast<std::uint16_t>(value));
    }
    void putU32(int offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            msg.payload[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void putFloat(int offset, float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        putU32(offset, bits);
    }
    void putBytes(int offset, const std::uint8_t *data, int count)
    {
        std::memcpy(msg.payload + offset, data, static_cast<std::size_t>(count));
    }

private:
    MavLinkMessage &msg;
};

// Reads fields of a received payload. Bytes at or beyond the frame's length
// read as 0: a short frame must never show bytes left over from an earlier one.
class PayloadReader
{
public:
    explicit PayloadReader(const MavLinkMessage &message) : msg(message) {}

    std::uint8_t u8(int offset) const { return offset < msg.len ? msg.payload[offset] : 0; }
    std::uint16_t u16(int offset) const
    {
        return static_cast<std::uint16_t>(u8(offset) | (u8(offset + 1) << 8));
    }
    std::int16_t i16(int offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(int offset) const
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(u8(offset + i)) << (8 * i);
        return value;
    }
    std::int32_t i32(int offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::uint64_t u64(int offset) const
    {
        return u32(offset) | (static_cast<std::uint64_t>(u32(offset + 4)) << 32);
    }
    float f32(int offset) const
    {
        const std::uint32_t bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Copies `count` bytes, zero beyond the frame's length.
    void bytes(int offset, std::uint8_t *out, int count) const
    {
        for (int i = 0; i < count; ++i)
            out[i] = u8(offset + i);
    }

private:
    const MavLinkMessage &msg;
};

// Common last step of building a frame: header, sequence and checksum.
// Returns the frame length on the wire.
int finalizeFrame(MavLinkMessage &msg, std::uint8_t seq, std::uint8_t sysid, std::uint8_t compid,
                  std::uint8_t length, std::uint8_t extra);
