// The receive parser alone, against a plain model of what it must find: from
// each start byte in turn, a frame whose checksum is right is taken whole
// and the search goes on after it; any other start byte is passed over; the
// search stops at the first frame the input ends inside. The parser must
// deliver exactly those frames, in order, none before its last byte is fed.
#include "mavlink/checksum.h"
#include "mavlink/mavlinkparser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Span
{
    std::size_t begin;
    std::size_t length;
};

void fail(const char *why)
{
    std::fprintf(stderr, "parser and model differ: %s\n", why);
    std::abort();
}

std::uint16_t frameChecksum(const std::uint8_t *frame)
{
    const std::uint8_t len = frame[1];
    std::uint16_t crc = crcCalculate(frame + 1, kMavLinkHeaderLength - 1 + len);
    crcAccumulate(crcExtra(frame[5]), crc);
    return crc;
}

// The low checksum byte is judged as soon as it arrives, the high one after.
std::vector<Span> modelFrames(const std::uint8_t *data, std::size_t size)
{
    std::vector<Span> frames;
    std::size_t at = 0;
    while (at < size) {
        if (data[at] != kMavLinkStx) {
            ++at;
            continue;
        }
        if (at + 1 >= size)
            break;
        const std::size_t length =
            std::size_t(data[at + 1]) + kMavLinkHeaderLength + kMavLinkChecksumLength;
        if (at + length - 1 > size)
            break;
        const std::uint16_t crc = frameChecksum(data + at);
        if (data[at + length - 2] != (crc & 0xFF)) {
            ++at;
            continue;
        }
        if (at + length > size)
            break;
        if (data[at + length - 1] != (crc >> 8)) {
            ++at;
            continue;
        }
        frames.push_back({at, length});
        at += length;
    }
    return frames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<Span> expected = modelFrames(data, size);
    std::size_t next = 0;
    MavLinkParser parser;
    for (std::size_t i = 0; i < size; ++i) {
        parser.parseByte(data[i], [&](const MavLinkMessage &msg) {
            if (next == expected.size())
                fail("a frame the model does not find");
            const Span &want = expected[next++];
            if (want.begin + want.length > i + 1)
                fail("delivered before its last byte");
            if (msg.magic != kMavLinkStx || std::size_t(msg.frameLength()) != want.length ||
                std::memcmp(msg.frameBegin(), data + want.begin, want.length) != 0)
                fail("not the frame the model finds");
        });
    }
    if (next != expected.size())
        fail("a frame the model finds was not delivered");
    return 0;
}
