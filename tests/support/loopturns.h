#pragma once

#include <QObject>
#include <QTimer>

// Counts the turns of the event loop: a zero timer fires once in each.
class LoopTurns : public QObject
{
public:
    LoopTurns()
    {
        timer.setInterval(0);
        connect(&timer, &QTimer::timeout, this, [this] { ++turns; });
        timer.start();
    }

    int count() const { return turns; }

private:
    QTimer timer;
    int turns = 0;
};
