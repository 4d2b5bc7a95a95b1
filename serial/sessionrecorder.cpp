#include "sessionrecorder.h"

#include "params/paramfileio.h"
#include "serial/fclink.h"
#include "serial/telemetrylog.h"

#include <QSignalBlocker>
#include <QtEndian>

#include <algorithm>
#include <chrono>

namespace {
using TelemetryLog::kPublishedStx;
using TelemetryLog::kTimestampLength;
// Over a second of a full 115200 baud line: the timer writes first unless
// frames come faster than a serial line carries them.
constexpr int kFlushBytes = 16 * 1024;
constexpr int kFlushIntervalMs = 1000;

int recordLength(const char *record)
{
    return TelemetryLog::recordLength(reinterpret_cast<const std::uint8_t *>(record));
}

std::uint64_t systemClockUs()
{
    using namespace std::chrono;
    return std::uint64_t(
        duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
}
} // namespace

SessionRecorder::SessionRecorder(FcLink &fcLink, QObject *parent)
    : QObject(parent), link(fcLink), wallClock(systemClockUs)
{
    flushTimer.setInterval(kFlushIntervalMs);
    connect(&flushTimer, &QTimer::timeout, this, &SessionRecorder::writeAll);
}

// Keeps what was recorded; whoever listened may be gone already.
SessionRecorder::~SessionRecorder()
{
    const QSignalBlocker quiet(this);
    stop();
}

bool SessionRecorder::start(const QString &path, Replace replace)
{
    startError = notRegularFileProblem(path);
    if (!startError.isEmpty())
        return false;
    finalPath = replace == Replace::AtEnd ? path : QString();
    file.setFileName(replace == Replace::AtEnd ? temporaryFileBeside(path, startError) : path);
    // Unbuffered: a write that fails says so at once, with what it wrote.
    if (!startError.isEmpty() ||
        !file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        startError = startError.isEmpty() ? file.errorString() : startError;
        return false;
    }
    buffer.clear();
    framesBuffered = 0;
    framesWritten = 0;
    rejectedAtStart = link.rejectedFrames();
    connect(&link, &FcLink::frameSent, this, &SessionRecorder::recordSent);
    connect(&link, &FcLink::frameReceived, this, &SessionRecorder::recordReceived);
    connect(&link, &FcLink::closed, this, &SessionRecorder::stop);
    flushTimer.start();
    return true;
}

void SessionRecorder::stop()
{
    if (!isRecording())
        return;
    if (writeAll())
        finish(QString());
}

void SessionRecorder::recordSent(const QByteArray &frame)
{
    append(reinterpret_cast<const std::uint8_t *>(frame.constData()), frame.size());
}

void SessionRecorder::recordReceived(const MavLinkMessage &frame)
{
    append(frame.frameBegin(), frame.frameLength());
}

void SessionRecorder::append(const std::uint8_t *frame, int length)
{
    char timestamp[kTimestampLength];
    qToBigEndian(quint64(nextTimestamp()), timestamp);
    buffer.append(timestamp, kTimestampLength);
    buffer.append(char(kPublishedStx));
    buffer.append(reinterpret_cast<const char *>(frame) + 1, length - 1);
    ++framesBuffered;
    if (buffer.size() >= kFlushBytes)
        writeAll();
}

// Strictly rising, so that readers that sort by time keep the order seen.
std::uint64_t SessionRecorder::nextTimestamp()
{
    lastTimestamp = std::max(wallClock(), lastTimestamp + 1);
    return lastTimestamp;
}

// False when the write failed; the recording has then ended.
bool SessionRecorder::writeAll()
{
    const qint64 sizeBefore = file.pos();
    const qint64 done = writeFully(file, buffer);
    if (done < buffer.size()) {
        const QString reason = file.errorString();
        keepWholeRecords(sizeBefore, done);
        finish(reason);
        return false;
    }
    framesWritten += framesBuffered;
    framesBuffered = 0;
    buffer.clear();
    return true;
}

// Records leave the buffer in order, so the whole ones among the bytes that
// reached the file are found by walking their lengths. A device cannot be
// cut; nothing reads a recording back from one.
void SessionRecorder::keepWholeRecords(qint64 sizeBefore, qint64 reached)
{
    qint64 whole = 0;
    while (whole < reached && whole + recordLength(buffer.constData() + whole) <= reached) {
        whole += recordLength(buffer.constData() + whole);
        ++framesWritten;
    }
    file.resize(sizeBefore + whole);
}

// The reason when a recording that replaces its file at the end cannot.
QString SessionRecorder::close()
{
    file.close();
    QString error;
    if (!finalPath.isEmpty() && !replaceFile(file.fileName(), finalPath, error))
        file.remove();
    return error;
}

void SessionRecorder::finish(const QString &error)
{
    flushTimer.stop();
    disconnect(&link, nullptr, this, nullptr);
    const QString closeError = close();
    buffer.clear();
    framesBuffered = 0;
    emit stopped({finalPath.isEmpty() ? file.fileName() : finalPath, framesWritten,
                  link.rejectedFrames() - rejectedAtStart, error.isEmpty() ? closeError : error});
}
