#pragma once

#include <QObject>

class QSocketNotifier;

// Ctrl+C (SIGINT and SIGTERM; on Windows the console's Ctrl+C and
// Ctrl+Break) as a Qt signal, delivered by the event loop,
// so a command-line transfer can stop after the write in flight and say
// what it wrote. The handler acts once: a second Ctrl+C ends the program at
// once, as usual. One watch at a time.
class InterruptWatch : public QObject
{
    Q_OBJECT

public:
    explicit InterruptWatch(QObject *parent = nullptr);
    ~InterruptWatch() override;

signals:
    void interrupted();

private:
    void takeSignal();

    QSocketNotifier *notifier = nullptr;
};
