#include "ptypair.h"

#include <QCoreApplication>

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

void PtyPair::write(const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(masterFd(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("write to the pseudo-terminal failed");
        if (n > 0) {
            done += n;
        } else {
            // The reader is the program under test, in this thread: the
            // line empties only while its event loop runs.
            QCoreApplication::processEvents();
            poll(nullptr, 0, 1);
        }
    }
}

QByteArray PtyPair::readUntilQuiet(int quietMs)
{
    QByteArray result;
    pollfd pfd{masterFd(), POLLIN, 0};
    while (masterFd() >= 0 && poll(&pfd, 1, quietMs) > 0 && (pfd.revents & POLLIN)) {
        char buffer[4096];
        const ssize_t n = ::read(masterFd(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.append(buffer, int(n));
    }
    return result;
}
