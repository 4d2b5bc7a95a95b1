#include "app/applicationsetup.h"

#include "app/translation.h"
#include "cli/version.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {
constexpr int kInterfacePointSize = 9;

// Where the system has a family, its own files are used, so the program looks
// as it always did there.
void addMissingInterfaceFonts()
{
    const QStringList installed = QFontDatabase().families();
    for (const EmbeddedFont &font : embeddedInterfaceFonts()) {
        if (!installed.contains(QLatin1String(font.family)))
            QFontDatabase::addApplicationFont(QLatin1String(font.resource));
    }
}
} // namespace

void ignoreWriteSignals()
{
#ifdef Q_OS_UNIX
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

QVector<EmbeddedFont> embeddedInterfaceFonts()
{
    return {{"DejaVu Sans", ":/fonts/DejaVuSans.ttf"},
            {"DejaVu Sans", ":/fonts/DejaVuSans-Bold.ttf"},
            {"Noto Sans CJK SC", ":/fonts/NotoSansCJKsc-Regular-subset.otf"}};
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

void setUpCoreApplication(QCoreApplication &app, QTranslator &translator)
{
    QCoreApplication::setOrganizationName(QStringLiteral("ZEFA Robotics"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEFA GCS"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEFA_VERSION));

    loadCatalogueForLocale(translator, QLocale::system().name());
    app.installTranslator(&translator);
}

void setUpApplication(QApplication &app, QTranslator &translator)
{
    setUpCoreApplication(app, translator);
    addMissingInterfaceFonts();
    QApplication::setFont(interfaceFont());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":images/r7ico.ico")));
}
