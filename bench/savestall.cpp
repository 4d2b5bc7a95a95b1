// How long the window's event loop stands still while Gain Save runs
// against the simulated FC on a pseudo-terminal: the longest gap between
// two turns of the loop, and how long each Save took until the status bar
// said what the FC confirmed.
//   zefa-bench-stall [SAVES]
#include "app/mainwindow.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/pseudoterminal.h"
#include "fcsim/simulatorptylink.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kDefaultSaves = 20;
constexpr int kSaveTimeoutMs = 10000;

void dropDebugLines(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Runs the event loop until done() or the time-out; false on the time-out.
bool runUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void runFor(int ms)
{
    runUntil([] { return false; }, ms);
}

// The longest time between two turns of the event loop while it is on.
class LoopGapMeter
{
public:
    LoopGapMeter()
    {
        QObject::connect(&turn, &QTimer::timeout, [this] { turned(); });
        turn.start(0);
    }
    void measure(bool on)
    {
        measuring = on;
        sinceLastTurn.restart();
    }
    qint64 longestMs() const { return longest; }

private:
    void turned()
    {
        if (measuring)
            longest = std::max(longest, sinceLastTurn.elapsed());
        sinceLastTurn.restart();
    }

    QTimer turn;
    QElapsedTimer sinceLastTurn;
    qint64 longest = 0;
    bool measuring = false;
};

template <typename T> T *child(MainWindow &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found) {
        std::fprintf(stderr, "no %s\n", name);
        std::exit(1);
    }
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropDebugLines);
    QApplication app(argc, argv);
    const int saves = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultSaves;

    PseudoTerminal pty;
    FcSimulator fc;
    SimulatorPtyLink line(pty.masterFd(), fc);
    qputenv("ZEFA_GCS_PORT", pty.slavePath().toLocal8Bit());

    MainWindow window;
    auto *tabs = child<QTabWidget>(window, "tabWidget");
    tabs->setCurrentWidget(child<QWidget>(window, "tab_6"));
    window.show();
    child<QAction>(window, "actionConnect")->trigger();
    runFor(500);
    child<QAbstractButton>(window, "pidReadButton")->click();
    runFor(500);

    QStatusBar *status = child<QStatusBar>(window, "statusBar");
    LoopGapMeter gaps;
    QList<qint64> durations;
    for (int i = 0; i < saves; ++i) {
        status->clearMessage();
        QElapsedTimer took;
        took.start();
        gaps.measure(true);
        child<QAbstractButton>(window, "pidSaveButton")->click();
        const bool answered = runUntil(
            [status] { return status->currentMessage().startsWith(QLatin1String("Gain")); },
            kSaveTimeoutMs);
        gaps.measure(false);
        if (!answered || !status->currentMessage().startsWith(QLatin1String("Gain saved"))) {
            std::fprintf(stderr, "save %d: \"%s\"\n", i + 1, qPrintable(status->currentMessage()));
            return 1;
        }
        durations << took.elapsed();
    }
    std::sort(durations.begin(), durations.end());
    std::printf("Gain Save x%d: longest event-loop gap %lld ms; save confirmed in %lld ms "
                "(median), %lld ms (slowest)\n",
                saves, static_cast<long long>(gaps.longestMs()),
                static_cast<long long>(durations.at(durations.size() / 2)),
                static_cast<long long>(durations.last()));
    return 0;
}
