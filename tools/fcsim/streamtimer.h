#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// Ticks at a rate in hertz. Tick n is due n periods after start(), so the
// average rate holds even where a period is no whole number of
// milliseconds; a tick that came late is made up at once, a longer stall
// (more than a few periods) is skipped rather than sent in a burst. One
// single-shot timer, armed for the next tick only.
class StreamTimer : public QObject
{
    Q_OBJECT

public:
    explicit StreamTimer(QObject *parent = nullptr);

    // A new rate starts the count again from now; the same rate keeps the
    // running schedule. 0 or less stops.
    void start(double hz);
    void stop();
    bool isActive() const { return rate > 0; }
    double frequency() const { return rate; }

signals:
    void tick();

private:
    void fire();
    void armForNextTick();

    QTimer timer;
    QElapsedTimer clock;
    double rate = 0;
    qint64 ticks = 0; // ticks sent or skipped since start()
};
