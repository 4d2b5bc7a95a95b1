#include "simulatorptylink.h"

#include "fcsimulator.h"
#include "sessionreplay.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int kMaxPending = 16 * 1024;
constexpr int kReopenCheckMs = 100;
} // namespace

SimulatorPtyLink::SimulatorPtyLink(int masterFd, Receiver fc, QObject *parent)
    : QObject(parent), fd(masterFd), toFc(std::move(fc)), readNotifier(fd, QSocketNotifier::Read),
      writeNotifier(fd, QSocketNotifier::Write)
{
    writeNotifier.setEnabled(false);
    connect(&readNotifier, &QSocketNotifier::activated, this, &SimulatorPtyLink::readLine);
    connect(&writeNotifier, &QSocketNotifier::activated, this, &SimulatorPtyLink::writePending);
    connect(&reopenTimer, &QTimer::timeout, this, &SimulatorPtyLink::checkLineReopened);
}

SimulatorPtyLink::SimulatorPtyLink(int masterFd, FcSimulator &simulator, QObject *parent)
    : SimulatorPtyLink(
          masterFd, [&simulator](const QByteArray &bytes) { simulator.receiveBytes(bytes); },
          parent)
{
    connect(&simulator, &FcSimulator::bytesOut, this, &SimulatorPtyLink::send);
}

SimulatorPtyLink::SimulatorPtyLink(int masterFd, SessionReplay &replay, QObject *parent)
    : SimulatorPtyLink(
          masterFd, [&replay](const QByteArray &bytes) { replay.receiveBytes(bytes); }, parent)
{
    connect(&replay, &SessionReplay::bytesOut, this, &SimulatorPtyLink::send);
}

void SimulatorPtyLink::stop()
{
    stopped = true;
    listening = false;
    pending.clear();
    readNotifier.setEnabled(false);
    writeNotifier.setEnabled(false);
    reopenTimer.stop();
}

void SimulatorPtyLink::readLine()
{
    char buffer[4096];
    while (!stopped) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            listening = true;
            toFc(QByteArray(buffer, int(n)));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            return;
        } else {
            lineHungUp();
            return;
        }
    }
}

// A hung-up master is readable for ever; watch it from a timer instead.
void SimulatorPtyLink::lineHungUp()
{
    listening = false;
    pending.clear();
    readNotifier.setEnabled(false);
    writeNotifier.setEnabled(false);
    reopenTimer.start(kReopenCheckMs);
}

void SimulatorPtyLink::checkLineReopened()
{
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, 0) < 0 || (pfd.revents & (POLLHUP | POLLNVAL)))
        return;
    reopenTimer.stop();
    readNotifier.setEnabled(true);
}

void SimulatorPtyLink::send(const QByteArray &bytes)
{
    if (!listening || pending.size() + bytes.size() > kMaxPending)
        return;
    pending.append(bytes);
    writePending();
}

void SimulatorPtyLink::writePending()
{
    while (!pending.isEmpty()) {
        const ssize_t n = ::write(fd, pending.constData(), size_t(pending.size()));
        if (n > 0) {
            pending.remove(0, int(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            writeNotifier.setEnabled(true);
            return;
        } else {
            // The line went away; the read side notices the hang-up.
            pending.clear();
        }
    }
    writeNotifier.setEnabled(false);
}
