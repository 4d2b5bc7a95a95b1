#include "recordedstream.h"

#include "fc/statustexts.h"
#include "fcsim/fcmessages.h"

#include <cmath>

namespace {

constexpr int kTicks = 500; // 20 ms each
constexpr int kAttitudeEvery = 5;
constexpr int kStatusEvery = 25;
constexpr int kHeartbeatEvery = 50;
constexpr int kTextEvery = 100;
constexpr std::uint8_t kBaseModeDisarmed = 1;

QVector<std::uint16_t> sticksAt(int tick)
{
    QVector<std::uint16_t> channels;
    for (int ch = 0; ch < kMavRcChannels; ++ch)
        channels << std::uint16_t(1500 + 400 * std::sin(0.05 * tick + ch));
    return channels;
}

} // namespace

QByteArray recordedStream()
{
    using namespace FcMessages;
    QByteArray stream;
    std::uint8_t seq = 0;
    auto add = [&](MavLinkMessage msg) { stream += toWire(msg, seq++); };
    for (int tick = 0; tick < kTicks; ++tick) {
        const std::uint32_t ms = std::uint32_t(tick * 20);
        add(rcChannelsRaw(sticksAt(tick), ms));
        if (tick % kAttitudeEvery == 0)
            add(attitude(0.3f * std::sin(0.01f * tick), 0.2f, 0.001f * tick, ms));
        if (tick % kStatusEvery == 0)
            add(sysStatus(std::uint16_t(12600 - tick)));
        if (tick % kHeartbeatEvery == 0)
            add(heartbeat(kBaseModeDisarmed));
        if (tick % kTextEvery == 0)
            add(statusText(MavSeverity::Error, Fc::preArmReport(Fc::kRcNotCalibrated)));
    }
    return stream;
}
