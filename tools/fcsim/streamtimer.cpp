#include "streamtimer.h"

#include <algorithm>
#include <cmath>

namespace {
// Late ticks made up in one go; older ones are skipped.
constexpr qint64 kMaxCatchUp = 4;
} // namespace

StreamTimer::StreamTimer(QObject *parent) : QObject(parent)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &StreamTimer::fire);
}

void StreamTimer::start(double hz)
{
    if (hz <= 0) {
        stop();
        return;
    }
    if (isActive() && hz == rate)
        return;
    rate = hz;
    ticks = 0;
    clock.start();
    armForNextTick();
}

void StreamTimer::stop()
{
    rate = 0;
    timer.stop();
}

// The next tick is armed before the ticks go out, so a receiver of tick()
// may stop the timer or give it a new rate.
void StreamTimer::fire()
{
    const double firedRate = rate;
    const qint64 due = qint64(std::floor(double(clock.nsecsElapsed()) * rate / 1e9));
    const qint64 owed = std::min(due - ticks, kMaxCatchUp);
    ticks = std::max(ticks, due);
    armForNextTick();
    for (qint64 i = 0; i < owed && rate == firedRate; ++i)
        emit tick();
}

void StreamTimer::armForNextTick()
{
    const double nextMs = double(ticks + 1) * 1000.0 / rate;
    const double waitMs = nextMs - double(clock.nsecsElapsed()) / 1e6;
    timer.start(int(std::ceil(std::max(0.0, waitMs))));
}
