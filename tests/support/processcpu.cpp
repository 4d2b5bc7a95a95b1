#include "processcpu.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

namespace {

struct SchedulerSeconds
{
    double onCpu = 0;
    double waitingForCpu = 0;
};

// The first two fields of the thread's schedstat, in nanoseconds. A running
// thread has used some CPU, so zeros mean the kernel keeps no such figures.
SchedulerSeconds schedulerSecondsOfThisThread()
{
    QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stat.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/thread-self/schedstat");
    const QList<QByteArray> fields = stat.readAll().simplified().split(' ');
    const SchedulerSeconds seconds{fields.value(0).toDouble() / 1e9,
                                   fields.value(1).toDouble() / 1e9};
    if (seconds.onCpu <= 0)
        qFatal("the kernel reports no scheduler times in /proc/thread-self/schedstat");
    return seconds;
}

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

// Time spent in the run queue is the other processes' doing; taking it out
// of the wall time keeps a spinning loop near 1 on a loaded machine, where
// CPU time over wall time would fall to its fair share.
double cpuShareWhileRunningEventLoop(int ms)
{
    const SchedulerSeconds before = schedulerSecondsOfThisThread();
    QElapsedTimer wall;
    wall.start();
    runEventLoop(ms);
    const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    const SchedulerSeconds after = schedulerSecondsOfThisThread();
    const double couldRun = wallSeconds - (after.waitingForCpu - before.waitingForCpu);
    return couldRun > 0 ? (after.onCpu - before.onCpu) / couldRun : 1.0;
}
