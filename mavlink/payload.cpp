#include "payload.h"

#include "checksum.h"

int finalizeFrame(MavLinkMessage &msg, std::uint8_t seq, std::uint8_t sysid, std::uint8_t compid,
                  std::uint8_t length, std::uint8_t extra)
{
    msg.magic = kMavLinkStx;
    msg.len = length;
    msg.seq = seq;
    msg.sysid = sysid;
    msg.compid = compid;
    std::uint16_t crc = crcCalculate(msg.frameBegin() + 1, length + kMavLinkHeaderLength - 1);
    crcAccumulate(extra, crc);
    msg.checksum = crc;
    msg.payload[length] = static_cast<std::uint8_t>(crc & 0xFF);
    msg.payload[length + 1] = static_cast<std::uint8_t>(crc >> 8);
    return msg.frameLength();
}
