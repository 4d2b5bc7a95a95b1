#pragma once

#include "mavlink/mavlinkmessage.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

class FcLink;

// What a recording held when it ended.
struct RecordingSummary
{
    QString path;
    int frames = 0;             // written, both directions
    std::uint32_t rejected = 0; // received frames dropped for a bad checksum
    QString error;              // the system's reason when a write failed
};

// Writes every frame a link sends and receives to a telemetry log as the
// community's tools read it: per frame an 8-byte big-endian count of
// microseconds since 1970, then the frame with the published start byte
// 0xFE (the checksum does not cover the start byte, so the rest is ours byte
// for byte). Records collect in memory and go to the file at a size or from
// a timer; a failed write ends the recording and cuts the file back to its
// last whole record. Stops by itself when the link closes.
class SessionRecorder : public QObject
{
    Q_OBJECT

public:
    // What becomes of a file already at the path. The window's dialog has
    // asked before replacing it, and a long recording should be on disk as
    // it goes. A command's recording goes to a temporary file beside it,
    // renamed over it when the recording ends, so that a run killed before
    // then leaves it as it was.
    enum class Replace
    {
        AtOnce,
        AtEnd,
    };

    explicit SessionRecorder(FcLink &link, QObject *parent = nullptr);
    ~SessionRecorder() override;

    // False, with the reason in errorString(), when the file cannot be
    // created. A device, pipe or folder is refused before it is opened: a
    // FIFO would block the program until someone reads it.
    bool start(const QString &path, Replace replace = Replace::AtOnce);
    bool isRecording() const { return file.isOpen(); }
    QString errorString() const { return startError; }
    // Microseconds since 1970 for each record: the system clock unless set.
    // Records still get rising times when it stands still or steps back.
    using Clock = std::function<std::uint64_t()>;
    void setClock(Clock clock) { wallClock = std::move(clock); }

public slots:
    // Writes what is left and closes the file; stopped() follows.
    void stop();

signals:
    void stopped(const RecordingSummary &summary);

private:
    void recordSent(const QByteArray &frame);
    void recordReceived(const MavLinkMessage &frame);
    void append(const std::uint8_t *frame, int length);
    std::uint64_t nextTimestamp();
    bool writeAll();
    void keepWholeRecords(qint64 sizeBefore, qint64 reached);
    QString close();
    void finish(const QString &error);

    FcLink &link;
    Clock wallClock;
    QFile file;
    // Of Replace::AtEnd: the file the recording replaces when it ends.
    QString finalPath;
    QString startError;
    QTimer flushTimer;
    QByteArray buffer;
    std::uint64_t lastTimestamp = 0;
    std::uint32_t rejectedAtStart = 0;
    int framesBuffered = 0;
    int framesWritten = 0;
};
