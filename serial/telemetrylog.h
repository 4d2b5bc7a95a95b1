#pragma once

#include "mavlink/mavlinkmessage.h"

#include <cstdint>

// The telemetry log the community's tools read: per frame an 8-byte
// big-endian count of microseconds since 1970, then the frame with the
// published start byte.
namespace TelemetryLog {

constexpr int kTimestampLength = 8;
constexpr std::uint8_t kPublishedStx = 0xFE;

// The frame's length, from the length byte of the record starting at record.
inline int frameLength(const std::uint8_t *record)
{
    return kMavLinkHeaderLength + record[kTimestampLength + 1] + kMavLinkChecksumLength;
}

inline int recordLength(const std::uint8_t *record)
{
    return kTimestampLength + frameLength(record);
}

} // namespace TelemetryLog
