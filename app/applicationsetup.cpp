#include "app/applicationsetup.h"

#include "app/translation.h"
#include "app/version.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

namespace {
constexpr int kInterfacePointSize = 9;
}

void enableHighDpiScaling()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

// Latin from DejaVu Sans, Chinese from Noto Sans CJK SC.
QFont interfaceFont()
{
    QFont font(QStringLiteral("DejaVu Sans"), kInterfacePointSize);
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void setUpApplication(QApplication &app, QTranslator &translator)
{
    QCoreApplication::setOrganizationName(QStringLiteral("ZEFA Robotics"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEFA GCS"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEFA_VERSION));
    QApplication::setFont(interfaceFont());

    loadCatalogueForLocale(translator, QLocale::system().name());
    app.installTranslator(&translator);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":images/r7ico.ico")));
}
