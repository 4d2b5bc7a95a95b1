// zefa-live-check: the window against a real FC line, on the platform it
// runs on (under Wine: the windows platform plugin). Names the port given as
// second argument with Action > Port > Other Port..., connects through it
// (the status bar names it), reads the Frame page, streams RC values into the Radio
// Controller tab and compares that tab, after streaming and again after a
// trip to the Frame tab, with a window that paints the same values from
// scratch, then waits for the FC to be unplugged. Prints one line per check
// (and when to unplug); status 0 when all hold. The pictures
// of a failed comparison go to the folder given as argument.

#include "app/applicationsetup.h"
#include "app/mainwindow.h"
#include "mavlink/mavlinkbridge.h"
#include "pages/radiopage.h"
#include "serial/fclink.h"
#include "support/pixeldifferences.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>
#include <QVector>
#include <QtTest>

#include <cstdio>

namespace {

constexpr int kFrameTab = 0;
constexpr int kRadioTab = 1;
constexpr int kThrottle = 3; // the channel of radioSlider3
constexpr int kAnswerTimeoutMs = 10000;
constexpr int kStreamingMs = 3000;
constexpr int kUnplugTimeoutMs = 30000;
// Colour levels two windows may differ by, for the rounding of different
// code paths.
constexpr int kTolerance = 2;

int failures = 0;

void report(bool ok, const QString &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

QTabWidget *tabs(MainWindow &window)
{
    return window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
}

void click(MainWindow &window, const char *button)
{
    window.findChild<QPushButton *>(QLatin1String(button))->click();
}

// The current tab as the window shows it: its backing store, once every
// pending paint is done.
QImage shownTab(MainWindow &window)
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QWidget *page = tabs(window)->currentWidget();
    const qreal ratio = window.devicePixelRatioF();
    const QRect area(page->mapTo(&window, QPoint()) * ratio, page->size() * ratio);
    const auto *store = static_cast<QImage *>(window.backingStore()->paintDevice());
    // As the screen gets it: Windows' native theme draws with an alpha of 0,
    // which the copy to the screen ignores.
    QImage shown = store->copy(area);
    shown.reinterpretAsFormat(QImage::Format_RGB32);
    return shown;
}

// A window that never streamed, given the live window's last values and
// button states, on the same tab.
QImage paintedFromScratch(MainWindow &live, QVector<unsigned short> values)
{
    MainWindow fresh;
    fresh.resize(live.size());
    fresh.radioPage().updateRadioValue(values.data());
    const auto liveButtons = live.findChildren<QAbstractButton *>();
    const auto freshButtons = fresh.findChildren<QAbstractButton *>();
    for (int i = 0; i < liveButtons.size(); ++i)
        freshButtons[i]->setChecked(liveButtons[i]->isChecked());
    tabs(fresh)->setCurrentIndex(tabs(live)->currentIndex());
    fresh.show();
    if (!QTest::qWaitForWindowExposed(&fresh))
        return QImage();
    return shownTab(fresh);
}

// Types the port into Other Port... as a user does and presses OK.
void chooseOtherPort(MainWindow &window, const QString &port)
{
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&port] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (auto *edit =
                dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("portNameEdit")) : nullptr) {
            edit->setText(port);
            dialog->accept();
        }
    });
    typist.start(50);
    window.findChild<QAction *>(QStringLiteral("actionPortOther"))->trigger();
}

void connectThrough(MainWindow &window, const QString &port)
{
    chooseOtherPort(window, port);
    window.findChild<QAction *>(QStringLiteral("actionConnect"))->trigger();
    const QString shown = window.findChild<QLabel *>(QStringLiteral("linkPortLabel"))->text();
    report(shown == port, QStringLiteral("connected through %1 chosen with Other Port... (status "
                                         "bar: \"%2\")")
                              .arg(port, shown));
}

class LiveCheck
{
public:
    LiveCheck(MainWindow &window, const QString &pictures)
        : window(window), bridge(window.findChild<FcLink *>()->bridge()), pictures(pictures)
    {
        QObject::connect(&bridge, &MavLinkBridge::setRadioInput, [this](unsigned short *rc) {
            last = QVector<unsigned short>(rc, rc + kMavRcChannels);
            ++rcFrames;
        });
    }

    void readFramePage()
    {
        click(window, "frameReadButton");
        const bool read = QTest::qWaitFor(
            [this] {
                return window.findChild<QAbstractButton *>(QStringLiteral("x4RadioButton"))
                    ->isChecked();
            },
            kAnswerTimeoutMs);
        report(read, QStringLiteral("Frame page shows the FC's frame (quad X)"));
    }

    void streamRadio()
    {
        tabs(window)->setCurrentIndex(kRadioTab);
        click(window, "radioReadButton");
        QTest::qWait(kStreamingMs);
        const auto *throttle = window.findChild<QSlider *>(QStringLiteral("radioSlider3"));
        const int shown = qBound(throttle->minimum(), int(last[kThrottle]), throttle->maximum());
        report(rcFrames > 10 && throttle->value() == shown,
               QStringLiteral("Radio tab shows live RC values (%1 frames)").arg(rcFrames));
    }

    // Streaming stops while the two are compared: the bridge keeps its values.
    void compareWithFreshWindow(const QString &when)
    {
        bridge.blockSignals(true);
        const QImage live = shownTab(window);
        const QImage fresh = paintedFromScratch(window, last);
        const QString differ = fresh.isNull() ? QStringLiteral("no fresh window")
                                              : pixelDifferences(live, fresh, kTolerance);
        report(differ.isEmpty(), QStringLiteral("Radio tab %1 looks as painted from scratch%2")
                                     .arg(when, differ.isEmpty() ? QString() : ": " + differ));
        if (!differ.isEmpty()) {
            const QString stem = QDir(pictures).filePath(QString(when).replace(' ', '-'));
            live.save(stem + "-live.png");
            fresh.save(stem + "-fresh.png");
        }
        bridge.blockSignals(false);
    }

    void visitFrameTab()
    {
        tabs(window)->setCurrentIndex(kFrameTab);
        QTest::qWait(kStreamingMs / 3);
        tabs(window)->setCurrentIndex(kRadioTab);
        QTest::qWait(kStreamingMs);
    }

    // The caller ends the simulator when told; the box is closed here.
    void awaitUnplug()
    {
        std::printf("waiting for the FC to be unplugged\n");
        std::fflush(stdout);
        QString box;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&box] {
            if (auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                box = shown->windowTitle() + ": " + shown->text();
                shown->accept();
            }
        });
        closer.start(50);
        auto *connect = window.findChild<QAction *>(QStringLiteral("actionConnect"));
        const bool closed = QTest::qWaitFor([&] { return !box.isEmpty() && connect->isEnabled(); },
                                            kUnplugTimeoutMs);
        report(closed &&
                   box == QLatin1String("Critical Error: Please re plug the FC and try again"),
               QStringLiteral("unplugged FC: link closed after the box \"%1\"").arg(box));
    }

private:
    MainWindow &window;
    MavLinkBridge &bridge;
    QString pictures;
    QVector<unsigned short> last = QVector<unsigned short>(kMavRcChannels);
    int rcFrames = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(app, translator);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zefa-live-check PICTURES_FOLDER PORT\n");
        return 2;
    }
    const QString pictures = QString::fromLocal8Bit(argv[1]);

    MainWindow window;
    window.show();
    report(QTest::qWaitForWindowExposed(&window), QStringLiteral("window shown"));
    connectThrough(window, QString::fromLocal8Bit(argv[2]));
    LiveCheck check(window, pictures);
    check.readFramePage();
    check.streamRadio();
    check.compareWithFreshWindow(QStringLiteral("while streaming"));
    check.visitFrameTab();
    check.compareWithFreshWindow(QStringLiteral("after the Frame tab"));
    check.awaitUnplug();
    return failures == 0 ? 0 : 1;
}
