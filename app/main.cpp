#include "app/applicationsetup.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "serial/portlist.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    const CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    if (commandLine.answer)
        return printAnswer(*commandLine.answer);
    setFlightControllerPortOverride(commandLine.port);

    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    MainWindow window;
    window.show();
    return app.exec();
}
