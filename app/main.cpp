#include "app/mainwindow.h"
#include "app/translation.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZEFA Robotics"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEFA GCS"));

    QTranslator translator;
    loadCatalogueForLocale(translator, QLocale::system().name());
    app.installTranslator(&translator);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":images/r7ico.ico")));

    MainWindow window;
    window.show();
    return app.exec();
}
