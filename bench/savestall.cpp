// How long the window's event loop stands still while Gain Save runs, and
// while a restore writes 100 values, against the simulated FC on a
// pseudo-terminal: the longest gap between two turns of the loop, and how
// long each took until the window said what the FC confirmed.
//   zefa-bench-stall [SAVES]
#include "app/mainwindow.h"
#include "app/transferdialogs.h"
#include "fcsim/fcsimulator.h"
#include "fcsim/pseudoterminal.h"
#include "fcsim/simulatorptylink.h"
#include "params/paramtype.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kDefaultSaves = 20;
constexpr int kSaveTimeoutMs = 10000;
constexpr int kRestoreTimeoutMs = 60000;
constexpr int kRestoredValues = 100;

void dropDebugLines(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
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

// Float parameters of the FC, each a little off its value, as NAME,VALUE.
QByteArray restoreFile(const ParameterTable &table)
{
    QByteArray text;
    int written = 0;
    for (int i = 0; i < table.count() && written < kRestoredValues; ++i) {
        const FcParameter &param = table.at(i);
        if (param.type != ParamType::Real32)
            continue;
        text += param.name.toLatin1() + ',' + QByteArray::number(param.value + 0.25) + '\n';
        ++written;
    }
    return text;
}

// Answers the restore's dialogs as a user would: the file, Write, and the
// report, which it keeps. Measures the event loop from Write to the report.
class RestoreUser
{
public:
    RestoreUser(const QString &path, LoopGapMeter &writingGaps) : file(path), gaps(writingGaps)
    {
        QObject::connect(&look, &QTimer::timeout, [this] { answer(); });
        look.start(0);
    }
    const QString &report() const { return reportText; }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(file);
            static_cast<QDialog *>(files)->accept();
        } else if (auto *changes = qobject_cast<ChangeListDialog *>(modal)) {
            gaps.measure(true);
            changes->findChild<QPushButton *>(QStringLiteral("writeButton"))->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            gaps.measure(false);
            reportText = box->text();
            box->accept();
        }
    }

    QString file;
    LoopGapMeter &gaps;
    QTimer look;
    QString reportText;
};

void measureGainSaves(MainWindow &window, int saves)
{
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
            std::exit(1);
        }
        durations << took.elapsed();
    }
    std::sort(durations.begin(), durations.end());
    std::printf("Gain Save x%d: longest event-loop gap %lld ms; save confirmed in %lld ms "
                "(median), %lld ms (slowest)\n",
                saves, static_cast<long long>(gaps.longestMs()),
                static_cast<long long>(durations.at(durations.size() / 2)),
                static_cast<long long>(durations.last()));
}

void measureRestore(MainWindow &window, const FcSimulator &fc)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("restore.param"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(restoreFile(fc.parameterTable())) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    file.close();
    LoopGapMeter gaps;
    RestoreUser user(path, gaps);
    QElapsedTimer took;
    took.start();
    child<QAction>(window, "actionRestoreSettings")->trigger();
    runUntil([&user] { return !user.report().isEmpty(); }, kRestoreTimeoutMs);
    std::printf("Restore of %d values: longest event-loop gap while writing %lld ms; took %lld ms "
                "with its dialogs; \"%s\"\n",
                kRestoredValues, static_cast<long long>(gaps.longestMs()),
                static_cast<long long>(took.elapsed()), qPrintable(user.report()));
    if (!user.report().startsWith(QLatin1String("Written and confirmed")))
        std::exit(1);
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
    measureGainSaves(window, saves);
    measureRestore(window, fc);
    return 0;
}
