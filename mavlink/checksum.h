#pragma once

#include <cstdint>

// CRC-16/MCRF4XX, the X.25 checksum of MAVLink 1.0.
constexpr std::uint16_t kCrcInit = 0xFFFF;

inline void crcAccumulate(std::uint8_t byte, std::uint16_t &crc)
{
    std::uint8_t t = static_cast<std::uint8_t>(byte ^ (crc & 0xFF));
    t = static_cast<std::uint8_t>(t ^ (t << 4));
    crc = static_cast<std::uint16_t>((crc >> 8) ^ (t << 8) ^ (t << 3) ^ (t >> 4));
}

std::uint16_t crcCalculate(const std::uint8_t *data, int count);

// Seed byte folded into every checksum, by message id; 0 for unknown ids.
std::uint8_t crcExtra(std::uint8_t msgid);
