#include "app/interruptwatch.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kWatchedSignals[] = {SIGINT, SIGTERM};
// A signal handler may only write to a descriptor: the event loop reads it.
int signalPipe[2] = {-1, -1};

extern "C" void noteSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void handleSignals(void (*handler)(int), int flags)
{
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    for (const int signal : kWatchedSignals)
        sigaction(signal, &action, nullptr);
}

} // namespace

InterruptWatch::InterruptWatch(QObject *parent) : QObject(parent)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &InterruptWatch::takeSignal);
    handleSignals(noteSignal, SA_RESETHAND | SA_RESTART);
}

InterruptWatch::~InterruptWatch()
{
    if (!notifier)
        return;
    handleSignals(SIG_DFL, 0);
    delete notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void InterruptWatch::takeSignal()
{
    char byte;
    while (::read(signalPipe[0], &byte, 1) > 0) {
    }
    emit interrupted();
}

#elif defined(Q_OS_WIN)
#include <QMutex>
#include <windows.h>

namespace {

// The console calls its handlers on a thread of its own: the watch is
// reached under the lock and told through its event loop.
QMutex watchLock;
InterruptWatch *currentWatch = nullptr;

BOOL WINAPI noteConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    const QMutexLocker locker(&watchLock);
    if (!currentWatch)
        return FALSE; // the second time: the default handler ends the program
    QMetaObject::invokeMethod(currentWatch, &InterruptWatch::interrupted, Qt::QueuedConnection);
    currentWatch = nullptr;
    return TRUE;
}

} // namespace

InterruptWatch::InterruptWatch(QObject *parent) : QObject(parent)
{
    const QMutexLocker locker(&watchLock);
    currentWatch = this;
    SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
}

InterruptWatch::~InterruptWatch()
{
    SetConsoleCtrlHandler(noteConsoleEvent, FALSE);
    const QMutexLocker locker(&watchLock);
    currentWatch = nullptr;
}

void InterruptWatch::takeSignal() {}

#else

// Elsewhere the platform's own handling of Ctrl+C stays.
InterruptWatch::InterruptWatch(QObject *parent) : QObject(parent) {}
InterruptWatch::~InterruptWatch() = default;
void InterruptWatch::takeSignal() {}

#endif
