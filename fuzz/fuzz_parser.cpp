// The receive parser alone. Besides the sanitizers' checks, every frame it
// delivers must be exactly the last bytes it was fed, start byte first, with
// a checksum that really covers them.
#include "mavlink/checksum.h"
#include "mavlink/mavlinkparser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void fail(const char *why)
{
    std::fprintf(stderr, "parser delivered a bad frame: %s\n", why);
    std::abort();
}

void checkDelivered(const MavLinkMessage &msg, const std::uint8_t *fed, std::size_t fedCount)
{
    const std::size_t length = std::size_t(msg.frameLength());
    if (msg.magic != kMavLinkStx)
        fail("start byte");
    if (fedCount < length)
        fail("longer than the input");
    if (std::memcmp(msg.frameBegin(), fed + fedCount - length, length) != 0)
        fail("bytes differ from the input");
    std::uint16_t crc = crcCalculate(msg.frameBegin() + 1, kMavLinkHeaderLength - 1 + msg.len);
    crcAccumulate(crcExtra(msg.msgid), crc);
    const std::uint8_t *sent = msg.payload + msg.len;
    if (sent[0] != (crc & 0xFF) || sent[1] != (crc >> 8))
        fail("checksum");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    MavLinkParser parser;
    for (std::size_t i = 0; i < size; ++i) {
        if (parser.parseByte(data[i]))
            checkDelivered(parser.message(), data, i + 1);
    }
    return 0;
}
