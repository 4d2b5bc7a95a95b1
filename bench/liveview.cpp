// The assistant as main builds it, with one tab in front, connected to the
// port that ZEFA_GCS_PORT names; it runs until it is killed. What it costs
// to show the live data is measured from outside (bench/liveview.py). With
// --record it records the session to FILE, as Record Session does. With
// --read it presses the Read buttons of the Radio Controller, Voltage and
// FC Test tabs once connected, as a user watching everything would. With
// --count it prints, once a second, what the program did in that second:
// "counts CPU_MS REPOLISHES PAINTS READS" (style changes of widgets,
// widget paints, read() calls of the process: the port's, and the event
// loop's wake-up descriptor's).
//   zefa-bench-live frame|radio [--record FILE] [--read] [--count]
#include "app/applicationsetup.h"
#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace {

// Object names of the pages the figure compares.
const char *pageOfTab(const char *tab)
{
    if (std::strcmp(tab, "frame") == 0)
        return "tab";
    if (std::strcmp(tab, "radio") == 0)
        return "tab_2";
    return nullptr;
}

struct Options
{
    const char *page = nullptr;
    const char *recording = nullptr;
    bool read = false;
    bool count = false;
};

bool parsed(int argc, char *argv[], Options &options)
{
    options.page = argc >= 2 ? pageOfTab(argv[1]) : nullptr;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc)
            options.recording = argv[++i];
        else if (std::strcmp(argv[i], "--read") == 0)
            options.read = true;
        else if (std::strcmp(argv[i], "--count") == 0)
            options.count = true;
        else
            return false;
    }
    return options.page != nullptr;
}

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The kernel's count of read() calls; the port is also read past Qt.
long long readCalls()
{
    std::FILE *io = std::fopen("/proc/self/io", "r");
    long long calls = 0;
    char key[32];
    long long value = 0;
    while (io && std::fscanf(io, "%31s %lld", key, &value) == 2) {
        if (std::strcmp(key, "syscr:") == 0)
            calls = value;
    }
    if (io)
        std::fclose(io);
    return calls;
}

// Every event of the program passes here.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QObject *parent) : QObject(parent)
    {
        auto *tick = new QTimer(this);
        connect(tick, &QTimer::timeout, this, &EventCounter::report);
        tick->start(1000);
        cpuBefore = cpuMilliseconds();
        readsBefore = readCalls();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++repolishes;
        else if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }

private:
    void report()
    {
        const double cpu = cpuMilliseconds();
        const long long reads = readCalls();
        std::printf("counts %.0f %d %d %lld\n", cpu - cpuBefore, repolishes, paints,
                    reads - readsBefore);
        std::fflush(stdout);
        cpuBefore = cpu;
        readsBefore = reads;
        repolishes = paints = 0;
    }

    double cpuBefore = 0;
    int repolishes = 0;
    int paints = 0;
    long long readsBefore = 0;
};

void pressReadButtons(MainWindow &window)
{
    for (const char *name : {"radioReadButton", "voltageReadButton", "fcTestButton"})
        window.findChild<QAbstractButton *>(QLatin1String(name))->click();
}

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    if (!parsed(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: zefa-bench-live frame|radio [--record FILE] [--read] [--count]\n");
        return 2;
    }
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    MainWindow window;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    tabs->setCurrentWidget(tabs->findChild<QWidget *>(QLatin1String(options.page)));
    window.show();
    window.findChild<QAction *>(QStringLiteral("actionConnect"))->trigger();
    if (options.recording)
        window.startRecording(QString::fromLocal8Bit(options.recording));
    if (options.read)
        pressReadButtons(window);
    if (options.count)
        app.installEventFilter(new EventCounter(&app));
    return app.exec();
}
