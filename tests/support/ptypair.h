#pragma once

#include "fcsim/pseudoterminal.h"

#include <QByteArray>
#include <QString>

// A real pseudo-terminal pair: the assistant opens the slave as its serial
// port, the test holds the master and sees every byte on the line.
class PtyPair
{
public:
    QString slavePath() const { return pty.slavePath(); }
    int masterFd() const { return pty.masterFd(); }

    // All of bytes; while the line is full the event loop runs, so that the
    // program under test can read.
    void write(const QByteArray &bytes);
    // Whatever arrives until the line stays quiet for quietMs.
    QByteArray readUntilQuiet(int quietMs = 100);
    // Hang up the line, as an unplugged USB serial device does.
    void closeMaster() { pty.close(); }

private:
    PseudoTerminal pty;
};
