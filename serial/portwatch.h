#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Plug in and go: while switched on and the link is closed, it looks at the
// system's ports once a second and reports when the port Connect would open
// appears. A port it has reported once, or that the link was open on, must
// disappear (or be lost by the link) before it counts again, so a port that fails to open, and one
// the user disconnected from, is never tried in a loop. Nothing polls while
// the link is open.
class PortWatch : public QObject
{
    Q_OBJECT

public:
    explicit PortWatch(QObject *parent = nullptr);

    bool isOn() const { return on; }
    bool isPolling() const { return timer.isActive(); }
    // Turned on, a port already present counts as appearing.
    void switchOn(bool on);

public slots:
    void linkOpened(const QString &portName);
    void linkClosed();
    // The device has gone while the link was open (unplugged): its return,
    // even under the same name and before a poll saw it gone, counts.
    void portLost();
    // The user chose another port: it counts as appearing if present.
    void targetChanged();

signals:
    void portAppeared();

private:
    void poll();
    void followLink();

    QTimer timer;
    bool on = false;
    bool linkOpen = false;
    // Must disappear before it is reported again.
    QString passedOver;
};
