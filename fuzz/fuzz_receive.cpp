// The whole receive path as the link runs it: bytes -> parser -> decoder ->
// every MainWindow slot connected at the time, with the complete window built
// offscreen. The port stays detached, so nothing is written and the bridge
// never pauses; the per-connection signals are joined as an open link has
// them.
//
// Received data must never start an event loop (a modal box, a wait): a
// zero-time timer fires only inside one, and aborts the run if that happens
// while bytes are being received.
#include "support/gcsharness.h"

#include "mavlink/mavlinkbridge.h"
#include "pages/fctestpage.h"
#include "serial/fclink.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// Debug lines for every parameter and text, and the closed port's warnings,
// would drown the fuzzer's own output and slow it down.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

class ReceivePath
{
public:
    ReceivePath()
    {
        gcs.window().show();
        QObject::connect(&eventLoopWatch, &QTimer::timeout, [this] { eventLoopRan(); });
        eventLoopWatch.start(0);
    }

    void receive(const QByteArray &bytes)
    {
        joinLinkSignals();
        receiving = true;
        gcs.link().receiveBytes(bytes);
        receiving = false;
        // What the event loop does next: deferred work, repaints, timers.
        QCoreApplication::processEvents();
    }

private:
    // A version other than 20 closes the link, which removes these; put
    // them back so every input meets an open link's slots.
    void joinLinkSignals()
    {
        MavLinkBridge *bridge = &gcs.bridge();
        MainWindow *window = &gcs.window();
        QObject::connect(bridge, &MavLinkBridge::textMessageReceived, window,
                         &MainWindow::TextMessageReceived, Qt::UniqueConnection);
        QObject::connect(bridge, &MavLinkBridge::setATT, &window->fcTestPage(),
                         &FcTestPage::attitudeUpdate, Qt::UniqueConnection);
    }

    void eventLoopRan()
    {
        if (!receiving)
            return;
        QWidget *modal = QApplication::activeModalWidget();
        auto *box = qobject_cast<QMessageBox *>(modal);
        std::fprintf(stderr, "received data started an event loop%s %s: %s\n",
                     modal ? " under the modal" : "", box ? qPrintable(box->windowTitle()) : "",
                     box ? qPrintable(box->text()) : "");
        std::abort();
    }

    GcsHarness gcs;
    QTimer eventLoopWatch;
    bool receiving = false;
};

ReceivePath *receivePath = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    // Qt keeps argc and argv; it gets its own, without libFuzzer's options.
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    new QApplication(qtArgc, qtArgv);
    receivePath = new ReceivePath;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    receivePath->receive(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    return 0;
}
