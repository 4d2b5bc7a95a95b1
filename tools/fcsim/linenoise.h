#pragma once

#include <QByteArray>

#include <random>

// A noisy line for robustness runs: garbles a fraction of the bytes and
// slips in frames with the published start byte 0xFE, which the assistant
// must ignore. Seeded, so a run can be repeated.
class LineNoise
{
public:
    // rate 0 leaves every frame untouched.
    explicit LineNoise(double rate = 0.0, std::uint32_t seed = 1);

    double rate() const { return faultRate; }
    // The bytes to send for one frame.
    QByteArray apply(const QByteArray &frame);

private:
    bool strikes();
    QByteArray foreignFrame(const QByteArray &frame) const;
    void garble(QByteArray &bytes);

    double faultRate;
    std::mt19937 random;
    std::uniform_real_distribution<double> chance{0.0, 1.0};
};
