#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>

class FcSimulator;
class SessionReplay;

// Joins an FcSimulator to the master side of a pseudo-terminal, on the
// thread that owns it (the GUI thread in tests). Does not own the file
// descriptor.
//
// The FC talks only while someone listens: nothing is written until the
// first bytes arrive from the slave side, and after the slave side closes
// (the assistant disconnected; the master then reads as hung up) it waits
// for the next open without spinning. Bytes the line cannot take at once
// are queued up to a limit; beyond it frames are lost, as on an overrun.
//
// To unplug the FC: stop(), then close the master.
class SimulatorPtyLink : public QObject
{
    Q_OBJECT

public:
    SimulatorPtyLink(int masterFd, FcSimulator &simulator, QObject *parent = nullptr);
    // A recorded FC instead of the simulated one.
    SimulatorPtyLink(int masterFd, SessionReplay &replay, QObject *parent = nullptr);

    // The assistant has the line open and has spoken since it opened it.
    bool isListening() const { return listening; }
    // Bytes wait for the line to take them.
    bool hasQueuedBytes() const { return !pending.isEmpty(); }
    // Stops reading and writing for good; the descriptor stays open.
    void stop();

private:
    using Receiver = std::function<void(const QByteArray &)>;
    SimulatorPtyLink(int masterFd, Receiver fc, QObject *parent);

    void readLine();
    void lineHungUp();
    void checkLineReopened();
    void send(const QByteArray &bytes);
    void writePending();

    int fd;
    Receiver toFc;
    QSocketNotifier readNotifier;
    QSocketNotifier writeNotifier;
    QTimer reopenTimer;
    QByteArray pending;
    bool listening = false;
    bool stopped = false;
};
