#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class MavLinkBridge;
class ParameterStore;

// What the FC's heartbeats told since watching began: whether one came,
// how long the FC has been silent, and whether it reports itself armed.
// Can also wait for the next one. Any parameter report counts as an answer.
class HeartbeatWatch : public QObject
{
    Q_OBJECT

public:
    HeartbeatWatch(MavLinkBridge &bridge, ParameterStore &store, QObject *parent = nullptr);

    void restart();
    bool seen() const { return heartbeatSeen; }
    bool armed() const { return armedReported; }
    // Since the last heartbeat, or since watching began when none came.
    qint64 silenceMs() const { return silence.elapsed(); }
    // The last heartbeat is recent, or it is not too old and the FC has
    // answered a request lately: on a noisy line heartbeats are lost now and
    // then while the FC goes on answering.
    bool recentlyAlive(qint64 heartbeatMs, qint64 answeredHeartbeatMs, qint64 answerMs) const;

    // Ends with heartbeatReceived(), or with heartbeatMissed() after ms. Meanwhile it asks
    // for the firmware version now and then: a frame with a garbled length
    // byte can only be judged, and the frames inside it found, once the up
    // to 257 bytes it claims have come, which on a quiet line holds back the
    // heartbeats for many seconds; the answers push those bytes through.
    void awaitNext(int ms);
    void stopAwaiting();

signals:
    void heartbeatReceived();
    void heartbeatMissed();

private slots:
    void received(bool armed);
    void answered();
    void nudgeFc();
    void gaveUp();

private:
    MavLinkBridge &mavlink;
    QElapsedTimer silence;
    QElapsedTimer sinceAnswer;
    QTimer deadline;
    QTimer nudge;
    bool heartbeatSeen = false;
    bool armedReported = false;
};
