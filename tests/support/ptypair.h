#pragma once

#include <QByteArray>
#include <QString>

// A real pseudo-terminal pair: the assistant opens the slave as its serial
// port, the test holds the master and sees every byte on the line.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    QString slavePath() const { return path; }
    int masterFd() const { return master; }

    void write(const QByteArray &bytes);
    // Whatever arrives until the line stays quiet for quietMs.
    QByteArray readUntilQuiet(int quietMs = 100);
    // Hang up the line, as an unplugged USB serial device does.
    void closeMaster();

private:
    int master = -1;
    QString path;
};
