#pragma once

#include <QString>

// A pseudo-terminal whose master this process holds; another program (or
// the assistant under test) opens the slave as its serial port. Raw mode,
// so no byte is translated or echoed.
class PseudoTerminal
{
public:
    // Throws std::runtime_error when the system gives no pseudo-terminal.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    QString slavePath() const { return path; }
    // Non-blocking; -1 once closed.
    int masterFd() const { return master; }
    // Hangs up the line, as an unplugged USB serial device does.
    void close();

private:
    int master = -1;
    QString path;
};
