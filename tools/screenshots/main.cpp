// zefa-screenshots OUTDIR SUFFIX [TAB...]
// Starts the window as the program does, connected to a simulated FC, lets
// each tab fill with live values and writes OUTDIR/<tab><SUFFIX>.png. The
// language and the scale are the desktop's: scripts/screenshots sets them.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "fc/fcconventions.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/pseudoterminal.h"
#include "fcsim/simulatorptylink.h"
#include "serial/portlist.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <functional>

namespace {

// How long a tab gets to show the FC's answers and a few stream frames.
constexpr int kSettleMs = 1500;

struct Tab
{
    const char *name;
    int index;
    std::function<void(MainWindow &, FcSimulator &)> prepare;
};

void click(MainWindow &window, const char *button)
{
    if (auto *b = window.findChild<QAbstractButton *>(QLatin1String(button)))
        b->click();
}

const Tab kTabs[] = {
    {"frame", 0, [](MainWindow &w, FcSimulator &) { click(w, "frameReadButton"); }},
    {"radio", 1, [](MainWindow &w, FcSimulator &) { click(w, "radioReadButton"); }},
    {"voltage", 2, [](MainWindow &w, FcSimulator &) { click(w, "voltageReadButton"); }},
    {"accel", 3, [](MainWindow &w, FcSimulator &) { click(w, "accelCalibrateButton"); }},
    {"fctest", 4, [](MainWindow &w, FcSimulator &) { click(w, "fcTestButton"); }},
    {"gain", 5, [](MainWindow &w, FcSimulator &) { click(w, "pidReadButton"); }},
    // Nothing on the page asks for the flight feel; the FC tells it unasked.
    {"advanced", 6,
     [](MainWindow &w, FcSimulator &sim) {
         click(w, "advRTHReadButton");
         sim.sendParameter(QString::fromLatin1(Fc::kFeedForwardParam));
     }},
};

// The window and the simulator run for ms.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool shoot(MainWindow &window, FcSimulator &sim, const Tab &tab, const QString &path)
{
    window.findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(tab.index);
    tab.prepare(window, sim);
    settle(kSettleMs);
    if (window.grab().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "zefa-screenshots: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    PseudoTerminal pty;
    setFlightControllerPortOverride(pty.slavePath());
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: zefa-screenshots OUTDIR SUFFIX [TAB...]\n");
        return 2;
    }
    const QDir out(args.at(1));
    const QString suffix = args.at(2);
    const QStringList wanted = args.mid(3);

    FcSimulator sim;
    SimulatorPtyLink link(pty.masterFd(), sim);
    MainWindow window;
    window.show();
    window.findChild<QAction *>(QStringLiteral("actionConnect"))->trigger();
    settle(kSettleMs);

    for (const Tab &tab : kTabs) {
        const QString name = QString::fromLatin1(tab.name);
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        if (!shoot(window, sim, tab, out.filePath(name + suffix + QStringLiteral(".png"))))
            return 1;
    }
    return 0;
}
