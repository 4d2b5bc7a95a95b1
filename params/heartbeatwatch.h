#pragma once

#include <QElapsedTimer>
#include <QObject>

class MavLinkBridge;

// What the FC's heartbeats told since watching began: whether one came,
// how long the FC has been silent, and whether it reports itself armed.
class HeartbeatWatch : public QObject
{
    Q_OBJECT

public:
    explicit HeartbeatWatch(MavLinkBridge &bridge, QObject *parent = nullptr);

    void restart();
    bool seen() const { return heartbeatSeen; }
    bool armed() const { return armedReported; }
    // Since the last heartbeat, or since watching began when none came.
    qint64 silenceMs() const { return silence.elapsed(); }

signals:
    void heartbeat();

private slots:
    void received(bool armed);

private:
    QElapsedTimer silence;
    bool heartbeatSeen = false;
    bool armedReported = false;
};
