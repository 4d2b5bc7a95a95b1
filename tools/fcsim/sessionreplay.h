#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <cstdint>

// Plays back the FC's side of a recorded session (a telemetry log as the
// assistant's recorder writes it) as an FC on a line would: each frame with
// our start byte and otherwise its own bytes, at the recorded pace or a
// multiple of it. The FC's frames are told from the assistant's by message
// id, since the log does not say who sent a frame. What the assistant sends
// is not answered; its first bytes start the playback, so nothing is played
// to a line nobody listens to.
class SessionReplay : public QObject
{
    Q_OBJECT

public:
    explicit SessionReplay(QObject *parent = nullptr);

    // False, with the reason in errorString(), when the file cannot be read,
    // is not a regular file, is not a telemetry log or holds no frame of the
    // FC; a last record cut short is left out.
    bool load(const QString &path);
    QString errorString() const { return error; }
    int frameCount() const { return frames.size(); }
    // 2 plays twice as fast as recorded.
    void setSpeed(double factor) { speed = factor; }
    bool isFinished() const { return started && next == frames.size(); }

public slots:
    void receiveBytes(const QByteArray &bytes);

signals:
    void bytesOut(const QByteArray &bytes);
    void finished();

private:
    struct Frame
    {
        double offsetUs; // since the first frame played
        QByteArray bytes;
    };

    void playDue();

    QVector<Frame> frames;
    QString error;
    double speed = 1.0;
    bool started = false;
    int next = 0;
    QElapsedTimer clock;
    QTimer nextFrame;
};
