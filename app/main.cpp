#include "app/applicationsetup.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);

    MainWindow window;
    window.show();
    return app.exec();
}
