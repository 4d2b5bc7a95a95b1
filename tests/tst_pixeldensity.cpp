// Pictures drawn for the window's pixel density. ctest runs this suite once per
// scale factor through QT_SCALE_FACTOR; run by hand without it, it checks 1x.

#include "support/pixeldifferences.h"
#include "support/wire.h"

#include "app/mainwindow.h"
#include "pages/livewidgets.h"

#include <QApplication>
#include <QBackingStore>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QWindow>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

#ifndef ZEFA_SOURCE_DIR
#error "ZEFA_SOURCE_DIR must name the source tree"
#endif

using RcFrames = QList<QList<unsigned short>>;
using Change = std::function<void(MainWindow &)>;
Q_DECLARE_METATYPE(Change)

namespace {

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

void showRadioTab(MainWindow &window)
{
    window.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
}

// What the window shows: its backing store, once every pending paint is done
// (a widget that finds its backdrop stale asks for one more).
QImage shownPixels(MainWindow &window)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QPaintDevice *device = window.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image)
        qFatal("the backing store is no image");
    return static_cast<QImage *>(device)->copy();
}

QList<unsigned short> sticksAt(unsigned short value, unsigned short switches)
{
    return {
        value,   static_cast<unsigned short>(3000 - value), value, value, switches, 1500, switches,
        switches};
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
    void liveRadioTabShowsWhatAFreshWindowShows_data();
    void liveRadioTabShowsWhatAFreshWindowShows();
    void liveNumberDrawsAsAPlainLabel_data();
    void liveNumberDrawsAsAPlainLabel();

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
    window->TextMessageReceived(1, 1, MavSeverity::Notice,
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

void PixelDensityTest::liveRadioTabShowsWhatAFreshWindowShows_data()
{
    QTest::addColumn<RcFrames>("frames");
    QTest::addColumn<Change>("change");
    RcFrames sweep;
    for (unsigned short v = 800; v <= 2200; v += 70)
        sweep << sticksAt(v, 1500);
    RcFrames flicks;
    for (unsigned short position : {1100, 1300, 1500, 1700, 1900, 1500, 1100})
        flicks << sticksAt(2000 - position / 2, position);
    const RcFrames beyond = {sticksAt(700, 700), sticksAt(2300, 2300), sticksAt(1234, 1501)};
    const Change nothing = [](MainWindow &) {};
    const Change recoloured = [](MainWindow &window) {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(200, 170, 120));
        window.setPalette(palette);
    };
    // The box's right edge then runs under the first number.
    const Change narrowed = [](MainWindow &window) {
        window.findChild<QGroupBox *>("groupBox_9")->resize(280, 211);
    };
    // Its handle then moves in smaller steps, and its groove ends elsewhere.
    const Change narrowedSlider = [](MainWindow &window) {
        window.findChild<QSlider *>("radioSlider0")->resize(120, 22);
    };
    QTest::newRow("sticks sweep under the captions") << sweep << nothing;
    QTest::newRow("switches flick") << flicks << nothing;
    QTest::newRow("values beyond the sliders") << beyond << nothing;
    QTest::newRow("window recoloured while live") << sweep << recoloured;
    QTest::newRow("group box narrowed while live") << sweep << narrowed;
    QTest::newRow("slider narrowed while live") << sweep << narrowedSlider;
    const Change mirrored = [](MainWindow &window) {
        window.findChild<QSlider *>("radioSlider0")->setInvertedAppearance(true);
    };
    QTest::newRow("slider mirrored while live") << sweep << mirrored;
    const Change rightToLeft = [](MainWindow &window) {
        window.findChild<QSlider *>("radioSlider0")->setLayoutDirection(Qt::RightToLeft);
    };
    QTest::newRow("slider right to left while live") << sweep << rightToLeft;
    // At its top the flight mode handle runs under the flight mode number.
    const RcFrames modeSwitchTop = {sticksAt(1500, 2200), sticksAt(1500, 2200),
                                    sticksAt(1500, 2200), sticksAt(1500, 2200),
                                    sticksAt(1500, 1500), sticksAt(1500, 1500)};
    QTest::newRow("handle leaves the number after a repaint") << modeSwitchTop << recoloured;
}

// Frame after frame only what changed is painted; the result must be what
// a window shows that paints the last values from scratch. Halfway through,
// something behind the live widgets may change.
void PixelDensityTest::liveRadioTabShowsWhatAFreshWindowShows()
{
    QFETCH(RcFrames, frames);
    QFETCH(Change, change);
    showRadioTab(*window);
    shownPixels(*window);
    int opaque = 0;
    for (QWidget *w :
         window->findChildren<QWidget *>(QRegularExpression("^(radioSlider|rcdataLabel)")))
        opaque += w->testAttribute(Qt::WA_OpaquePaintEvent) ? 1 : 0;
    // Seven sliders, and the numbers but the flight mode's, which its
    // slider's handle runs under.
    QCOMPARE(opaque, 13);

    for (int i = 0; i < frames.size(); ++i) {
        if (i == frames.size() / 2)
            change(*window);
        window->receiveBytes(rcChannelsFrame(frames[i]));
        shownPixels(*window);
    }
    const QImage live = shownPixels(*window);
    // Screenshots render the window again, backdrops included.
    const QString grabbed = pixelDifferences(live, window->grab().toImage());
    QVERIFY2(grabbed.isEmpty(), qPrintable(grabbed));
    window.reset();

    MainWindow fresh;
    change(fresh);
    fresh.receiveBytes(rcChannelsFrame(frames.last()));
    showRadioTab(fresh);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    const QString differ = pixelDifferences(live, shownPixels(fresh));
    QVERIFY2(differ.isEmpty(), qPrintable(differ));
}

void PixelDensityTest::liveNumberDrawsAsAPlainLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("every digit") << QStringLiteral("1234567890");
    QTest::newRow("a stick's value") << QStringLiteral("1471");
    QTest::newRow("repeated digits") << QStringLiteral("1111");
    QTest::newRow("widest channel value") << QStringLiteral("65535");
}

// The application's font is set after the form is built: the live number
// must follow it like any other label.
void PixelDensityTest::liveNumberDrawsAsAPlainLabel()
{
    QFETCH(QString, text);
    QWidget box;
    auto *plain = new QLabel(text, &box);
    auto *live = new QLabel(text, &box);
    plain->setGeometry(0, 0, 61, 16);
    live->setGeometry(0, 20, 61, 16);
    prepareLiveNumber(live);
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(live->font().pointSize(), 9);
    const QString differ = pixelDifferences(live->grab().toImage(), plain->grab().toImage());
    QVERIFY2(differ.isEmpty(), qPrintable(differ));
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
