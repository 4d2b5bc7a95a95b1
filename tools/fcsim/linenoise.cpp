#include "linenoise.h"

namespace {
constexpr char kPublishedStartByte = char(0xFE);
}

LineNoise::LineNoise(double rate, std::uint32_t seed) : faultRate(rate), random(seed) {}

bool LineNoise::strikes()
{
    return faultRate > 0.0 && chance(random) < faultRate;
}

// The same frame under the published start byte: checksum-valid for a
// standard receiver, noise for ours.
QByteArray LineNoise::foreignFrame(const QByteArray &frame) const
{
    QByteArray foreign = frame;
    foreign[0] = kPublishedStartByte;
    return foreign;
}

// A garbled byte always differs from the original.
void LineNoise::garble(QByteArray &bytes)
{
    std::uniform_int_distribution<int> flip(1, 255);
    for (char &byte : bytes) {
        if (strikes())
            byte = char(byte ^ flip(random));
    }
}

QByteArray LineNoise::apply(const QByteArray &frame)
{
    if (faultRate <= 0.0)
        return frame;
    QByteArray out = strikes() ? foreignFrame(frame) : QByteArray();
    QByteArray own = frame;
    garble(own);
    return out + own;
}
