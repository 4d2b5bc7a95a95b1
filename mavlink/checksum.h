#pragma once

#include <cstdint>

// CRC-16/MCRF4XX, the X.25 checksum of MAVLink 1.0.
constexpr std::uint16_t kCrcInit = 0xFFFF;

namespace CrcDetail {

// The X.25 step for the low byte t = byte ^ (crc & 0xFF), without the
// (crc >> 8) term; it depends on t alone, so it is tabulated.
constexpr std::uint16_t step(std::uint8_t t)
{
    t = static_cast<std::uint8_t>(t ^ (t << 4));
    return static_cast<std::uint16_t>((t << 8) ^ (t << 3) ^ (t >> 4));
}

struct StepTable
{
    std::uint16_t entry[256];
};

constexpr StepTable makeStepTable()
{
    StepTable table{};
    for (int t = 0; t < 256; ++t)
        table.entry[t] = step(static_cast<std::uint8_t>(t));
    return table;
}

// A table lookup shortens the per-byte dependency chain of the receive path.
inline constexpr StepTable kStepTable = makeStepTable();

} // namespace CrcDetail

inline void crcAccumulate(std::uint8_t byte, std::uint16_t &crc)
{
    crc = static_cast<std::uint16_t>((crc >> 8) ^ CrcDetail::kStepTable.entry[(byte ^ crc) & 0xFF]);
}

std::uint16_t crcCalculate(const std::uint8_t *data, int count);

// Seed byte folded into every checksum, by message id; 0 for unknown ids.
std::uint8_t crcExtra(std::uint8_t msgid);
