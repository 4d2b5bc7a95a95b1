#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class MavLinkBridge;
class ParameterStore;

// What the FC's heartbeats told since the link opened: whether one came,
// how long the FC has been silent, and whether it reports itself armed. Any
// parameter report counts as an answer. One per link, shared by whoever
// writes to the FC.
class HeartbeatWatch : public QObject
{
    Q_OBJECT

public:
    HeartbeatWatch(MavLinkBridge &bridge, ParameterStore &store, QObject *parent = nullptr);

    // For a new link: nothing is known of the FC yet.
    void restart();
    bool seen() const { return heartbeatSeen; }
    bool armed() const { return armedReported; }
    // Since the last heartbeat, or since watching began when none came.
    qint64 silenceMs() const { return silence.elapsed(); }
    // The last heartbeat is recent, or it is not too old and the FC has
    // answered a request lately: on a noisy line heartbeats are lost now and
    // then while the FC goes on answering.
    bool recentlyAlive(qint64 heartbeatMs, qint64 answeredHeartbeatMs, qint64 answerMs) const;
    MavLinkBridge &bridge() const { return mavlink; }

signals:
    void heartbeatReceived();

private slots:
    void received(bool armed);
    void answered();

private:
    MavLinkBridge &mavlink;
    QElapsedTimer silence;
    QElapsedTimer sinceAnswer;
    bool heartbeatSeen = false;
    bool armedReported = false;
};

// One wait for the FC's next heartbeat: ends with heartbeatReceived(), or
// with heartbeatMissed() after the time given. Meanwhile it asks for the
// firmware version now and then: a frame with a garbled length byte can only
// be judged, and the frames inside it found, once the up to 257 bytes it
// claims have come, which on a quiet line holds back the heartbeats for many
// seconds; the answers push those bytes through. Each feature waits with a
// wait of its own, so one giving up never ends another's.
class HeartbeatWait : public QObject
{
    Q_OBJECT

public:
    explicit HeartbeatWait(HeartbeatWatch &watch, QObject *parent = nullptr);

    void awaitNext(int ms);
    void stop();
    bool isWaiting() const { return deadline.isActive(); }

signals:
    void heartbeatReceived();
    void heartbeatMissed();

private slots:
    void arrived();
    void nudgeFc();
    void gaveUp();

private:
    MavLinkBridge &mavlink;
    QTimer deadline;
    QTimer nudge;
};
