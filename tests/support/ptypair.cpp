#include "ptypair.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        throw std::runtime_error("cannot create a pseudo-terminal");
    path = QString::fromLocal8Bit(ptsname(master));
    // Raw line on both sides, so no byte is translated or echoed.
    termios tio;
    if (tcgetattr(master, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
    }
}

PtyPair::~PtyPair()
{
    closeMaster();
}

void PtyPair::write(const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("write to the pseudo-terminal failed");
        if (n > 0)
            done += n;
        else
            poll(nullptr, 0, 1);
    }
}

QByteArray PtyPair::readUntilQuiet(int quietMs)
{
    QByteArray result;
    pollfd pfd{master, POLLIN, 0};
    while (master >= 0 && poll(&pfd, 1, quietMs) > 0 && (pfd.revents & POLLIN)) {
        char buffer[4096];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.append(buffer, int(n));
    }
    return result;
}

void PtyPair::closeMaster()
{
    if (master >= 0)
        ::close(master);
    master = -1;
}
