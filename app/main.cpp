#include "app/applicationsetup.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/transfercommand.h"
#include "serial/portlist.h"

#include <QApplication>
#include <QTranslator>

namespace {
// Backup, restore, --get and --set run without a window, so without a display.
int runWithoutWindow(int argc, char *argv[], const CommandLine &commandLine)
{
    QCoreApplication app(argc, argv);
    QTranslator translator;
    setUpCoreApplication(app, translator);
    return runTransferCommand(commandLine);
}
} // namespace

int main(int argc, char *argv[])
{
    ignoreWriteSignals();
    const CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    if (commandLine.answer)
        return printAnswer(*commandLine.answer);
    setFlightControllerPortOverride(commandLine.port);
    if (commandLine.transfer != CommandLine::Transfer::None)
        return runWithoutWindow(argc, argv, commandLine);

    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    MainWindow window;
    window.show();
    return app.exec();
}
