#include "app/applicationsetup.h"

#include "app/translation.h"
#include "app/version.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

void setUpApplication(QApplication &app, QTranslator &translator)
{
    QCoreApplication::setOrganizationName(QStringLiteral("ZEFA Robotics"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEFA GCS"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEFA_VERSION));

    loadCatalogueForLocale(translator, QLocale::system().name());
    app.installTranslator(&translator);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":images/r7ico.ico")));
}
