// Pictures drawn for the window's pixel density. ctest runs this suite once per
// scale factor through QT_SCALE_FACTOR; run by hand without it, it checks 1x.

#include "app/mainwindow.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QWindow>
#include <QtTest>

#include <memory>

#ifndef ZEFA_SOURCE_DIR
#error "ZEFA_SOURCE_DIR must name the source tree"
#endif

namespace {

const int kSeverityNotice = 5;

qreal requestedScale()
{
    return qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
}

// Premultiplied like a pixmap: converting back would round differently
// depending on the CPU.
QImage committedFace(const QString &file)
{
    return QImage(QStringLiteral(ZEFA_SOURCE_DIR "/resources/images/accel/") + file)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

class PixelDensityTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { window.reset(); }

    void accelFaceMatchesWindow();
    void frameButtonIconMatchesWindow();

private:
    qreal ratio() const { return window->windowHandle()->devicePixelRatio(); }

    std::unique_ptr<MainWindow> window;
};

void PixelDensityTest::init()
{
    window.reset(new MainWindow);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(ratio(), requestedScale());
}

// The label shows the same middle band of the face at every density, as
// sharp as the window allows.
void PixelDensityTest::accelFaceMatchesWindow()
{
    window->TextMessageReceived(1, 1, kSeverityNotice,
                                QStringLiteral("Place vehicle level and press any key."));
    auto *label = window->findChild<QLabel *>("accelImage");
    const QPixmap shown = label->pixmap(Qt::ReturnByValue);
    QCOMPARE(shown.devicePixelRatioF(), ratio());

    const QImage plain = committedFace(QStringLiteral("1.png"));
    if (ratio() == 1.0)
        QVERIFY(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) == plain);
    if (ratio() == 2.0) {
        // The rows a 1x label shows when it centres the face, at twice the density.
        const int top = 2 * (plain.height() / 2 - label->height() / 2);
        const QImage onScreen =
            label->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage dense = committedFace(QStringLiteral("1@2x.png"));
        QVERIFY(onScreen == dense.copy(QRect(QPoint(0, top), onScreen.size())));
    }
}

// Qt draws a button's icon from the smallest file at least as large as the
// icon in device pixels and never enlarges a file, so without the @2x file the
// pixmap comes out smaller.
void PixelDensityTest::frameButtonIconMatchesWindow()
{
    const auto *button = window->findChild<QRadioButton *>("x4RadioButton");
    const QPixmap drawn = button->icon().pixmap(window->windowHandle(), button->iconSize());
    QCOMPARE(drawn.size(), button->iconSize() * ratio());
    QCOMPARE(drawn.devicePixelRatioF(), ratio());
}

int main(int argc, char *argv[])
{
    // High-DPI scaling as the application sets it up.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    PixelDensityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pixeldensity.moc"
