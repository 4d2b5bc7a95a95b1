// The assistant as main builds it, with one tab in front, connected to the
// port that ZEFA_GCS_PORT names; it runs until it is killed. What it costs
// to show the live data is measured from outside (bench/liveview.py). With
// --record it records the session to FILE, as Record Session does.
//   zefa-bench-live frame|radio [--record FILE]
#include "app/applicationsetup.h"
#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QTranslator>

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

} // namespace

int main(int argc, char *argv[])
{
    const bool recording = argc == 4 && std::strcmp(argv[2], "--record") == 0;
    const char *page = argc == 2 || recording ? pageOfTab(argv[1]) : nullptr;
    if (!page) {
        std::fprintf(stderr, "usage: zefa-bench-live frame|radio [--record FILE]\n");
        return 2;
    }
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    MainWindow window;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    tabs->setCurrentWidget(tabs->findChild<QWidget *>(QLatin1String(page)));
    window.show();
    window.findChild<QAction *>(QStringLiteral("actionConnect"))->trigger();
    if (recording)
        window.startRecording(QString::fromLocal8Bit(argv[3]));
    return app.exec();
}
