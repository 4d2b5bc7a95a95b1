#pragma once

#include "messageset.h"

#include <cstddef>
#include <cstdint>

constexpr std::uint8_t kMavLinkStx = 0xEB;
constexpr int kMavLinkHeaderLength = 6; // start byte .. message id
constexpr int kMavLinkChecksumLength = 2;
constexpr int kMavLinkMaxPayload = 255;

// One frame in memory. From `magic` on, the record is byte for byte the wire
// frame, so the two checksum bytes always sit right after the payload.
struct MavLinkMessage
{
    std::uint16_t checksum = 0;
    std::uint8_t magic = 0;
    std::uint8_t len = 0;
    std::uint8_t seq = 0;
    std::uint8_t sysid = 0;
    std::uint8_t compid = 0;
    std::uint8_t msgid = 0;
    alignas(8) std::uint8_t payload[kMavLinkMaxPayload + kMavLinkChecksumLength] = {};

    // The wire frame: start byte, header, payload, checksum.
    const std::uint8_t *frameBegin() const
    {
        return reinterpret_cast<const std::uint8_t *>(this) + offsetof(MavLinkMessage, magic);
    }
    int frameLength() const { return len + kMavLinkHeaderLength + kMavLinkChecksumLength; }
};

static_assert(offsetof(MavLinkMessage, payload) - offsetof(MavLinkMessage, magic) ==
                  kMavLinkHeaderLength,
              "the header must run straight into the payload");
static_assert(offsetof(MavLinkMessage, payload) % 8 == 0, "payload must be 8-byte aligned");
