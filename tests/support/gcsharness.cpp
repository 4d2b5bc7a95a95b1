#include "gcsharness.h"

#include "session/fcsession.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include <sys/ioctl.h>

namespace {
constexpr int kSendTimeoutMs = 10000;
}

GcsHarness::GcsHarness() : pty(new PtyPair)
{
    qputenv("ZEFA_GCS_PORT", pty->slavePath().toLocal8Bit());
    win.reset(new MainWindow);
    failOnEventLoopInsideAFrame();
}

GcsHarness::~GcsHarness()
{
    win.reset();
    qunsetenv("ZEFA_GCS_PORT");
}

// A box, a dialog or a wait opened while the window handles a frame would
// leave it deaf until that ends; no window under test may do it. Every event
// loop tells the dispatcher when it starts to look for events.
void GcsHarness::failOnEventLoopInsideAFrame()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (auto looking :
         {&QAbstractEventDispatcher::aboutToBlock, &QAbstractEventDispatcher::awake}) {
        QObject::connect(dispatcher, looking, win.get(), [this] {
            if (win->session->link().isHandlingFrame())
                qFatal("an event loop started while the window was handling a frame");
        });
    }
}

QSerialPort *GcsHarness::port() const
{
    return win->findChild<QSerialPort *>();
}

const MavLinkMessage &GcsHarness::lastReceived() const
{
    return win->session->link().lastReceived();
}

void GcsHarness::connectToFc()
{
    action("actionConnect")->trigger();
    sent();
}

void GcsHarness::waitUntilSent()
{
    if (!QTest::qWaitFor([this] { return !win->session->link().isSending(); }, kSendTimeoutMs))
        qFatal("the assistant's frames did not leave in %d ms", kSendTimeoutMs);
}

QList<WireFrame> GcsHarness::sent(int quietMs)
{
    QCoreApplication::processEvents();
    waitUntilSent();
    return parseFrames(pty->readUntilQuiet(quietMs));
}

void GcsHarness::deliver(const QByteArray &bytes)
{
    pty->write(bytes);
    QSerialPort *serial = port();
    if (!serial->isOpen())
        return;
    // The kernel hands master bytes to the slave asynchronously; wait for
    // them before letting the assistant read (it reads only in the event loop).
    const int expected = qMin(bytes.size(), 4000);
    QElapsedTimer t;
    t.start();
    int pending = 0;
    while (t.elapsed() < 1000 && pending + serial->bytesAvailable() < expected) {
        ioctl(int(serial->handle()), FIONREAD, &pending);
        QThread::usleep(200);
    }
    drain();
}

void GcsHarness::showTabOf(const char *name)
{
    const QWidget *shown = widget<QWidget>(name);
    auto *tabs = widget<QTabWidget>("tabWidget");
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(shown))
            tabs->setCurrentIndex(i);
    }
    win->show();
    if (!QTest::qWaitForWindowExposed(win.get()))
        qFatal("the window was not exposed");
    QCoreApplication::processEvents();
}

void GcsHarness::drain()
{
    QSerialPort *serial = port();
    int pending = 0;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!serial->isOpen())
            return;
        ioctl(int(serial->handle()), FIONREAD, &pending);
        if (pending == 0 && serial->bytesAvailable() == 0)
            return;
        QThread::msleep(1);
    }
}

FcLink &GcsHarness::link() const
{
    return win->session->link();
}

FcSession &GcsHarness::session() const
{
    return *win->session;
}
