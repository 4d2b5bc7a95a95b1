#pragma once

#include "eventpump.h"
#include "ptypair.h"
#include "wire.h"

#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QByteArray>
#include <QList>

#include <memory>

class FcLink;
class FcSession;
class MavLinkBridge;
class QSerialPort;

// The real main window on one end of a pseudo-terminal, the test on the
// other: ZEFA_GCS_PORT points the assistant at the slave.
class GcsHarness
{
public:
    GcsHarness();
    ~GcsHarness();

    MainWindow &window() { return *win; }
    PtyPair &line() { return *pty; }

    template <typename T> T *widget(const char *name) const
    {
        T *w = win->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no widget %s", name);
        return w;
    }
    QAction *action(const char *name) const { return widget<QAction>(name); }
    void click(const char *name) { widget<QAbstractButton>(name)->click(); }

    // Connects and swallows the firmware version request.
    void connectToFc();
    // Runs the event loop until every frame the assistant queued is on the line.
    void waitUntilSent();
    // Everything the assistant wrote since the last call.
    QList<WireFrame> sent(int quietMs = 100);
    QStringList sentDescriptions(int quietMs = 100) { return describeAll(sent(quietMs)); }
    // Writes bytes as the FC and runs the event loop until the assistant has
    // read all of them.
    void deliver(const QByteArray &bytes);
    // Shows the window, offscreen, with the tab that holds the widget in
    // front, and waits until it has been painted.
    void showTabOf(const char *name);
    // Runs the event loop until the assistant has read everything on the line.
    void drain();
    QSerialPort *port() const;
    MavLinkBridge &bridge() const { return *win->bridge; }
    FcLink &link() const;
    FcSession &session() const;
    // The frame the receive parser completed last; while a bridge signal is
    // delivered, the frame it was decoded from.
    const MavLinkMessage &lastReceived() const;

private:
    void failOnEventLoopInsideAFrame();

    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<MainWindow> win;
};
