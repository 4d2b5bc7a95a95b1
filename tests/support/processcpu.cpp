#include "processcpu.h"

#include "gcsharness.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <unistd.h>

// Fields 14 and 15 of /proc/self/stat, counted after the command name,
// which may itself hold blanks.
double processCpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/stat");
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.at(11).toDouble() + fields.at(12).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

double cpuShareWhilePumping(int ms)
{
    QElapsedTimer wall;
    const double before = processCpuSeconds();
    wall.start();
    pumpEvents(ms);
    return (processCpuSeconds() - before) / (double(wall.elapsed()) / 1000.0);
}
