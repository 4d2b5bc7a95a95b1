// Start-up as main does it, measured from the moment the kernel started the
// process until the window has been shown and painted; then the peak
// resident memory. One run, two lines: "startup_ms N" and "peak_rss_mb N".
#include "app/applicationsetup.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QTranslator>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Field 22 of /proc/self/stat: start time in clock ticks since boot.
double processStartSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which may itself hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.value(22 - 3).toDouble() / double(sysconf(_SC_CLK_TCK));
}

double secondsSinceBoot()
{
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    MainWindow window;
    window.show();
    QCoreApplication::processEvents();

    const double elapsedMs = (secondsSinceBoot() - processStartSeconds()) * 1000.0;
    std::printf("startup_ms %.1f\npeak_rss_mb %.1f\n", elapsedMs, peakResidentMegabytes());
    return 0;
}
