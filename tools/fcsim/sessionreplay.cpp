#include "sessionreplay.h"

#include "mavlink/mavlinkmessage.h"
#include "params/paramfileio.h"
#include "serial/telemetrylog.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {
using TelemetryLog::kPublishedStx;
using TelemetryLog::kTimestampLength;
constexpr int kMsgIdOffset = 5;
// A log is read whole; a day at line rate is far below this.
constexpr qint64 kMaxLogBytes = 1024 * 1024 * 1024;
// A QTimer holds at most about 24 days; a longer gap between two records is
// waited out in steps of a day.
constexpr double kLongestWaitMs = 24 * 60 * 60 * 1000;

bool sentByAssistant(std::uint8_t msgid)
{
    static constexpr std::uint8_t kAssistantMessages[] = {
        MavMsg::ParamRequestRead,  MavMsg::ParamRequestList, MavMsg::ParamSet,
        MavMsg::RequestDataStream, MavMsg::CommandLong,      MavMsg::CommandAck};
    return std::find(std::begin(kAssistantMessages), std::end(kAssistantMessages), msgid) !=
           std::end(kAssistantMessages);
}
} // namespace

SessionReplay::SessionReplay(QObject *parent) : QObject(parent), nextFrame(this)
{
    nextFrame.setSingleShot(true);
    connect(&nextFrame, &QTimer::timeout, this, &SessionReplay::playDue);
}

bool SessionReplay::load(const QString &path)
{
    QByteArray log;
    if (!readRegularFile(path, kMaxLogBytes, log, error))
        return false;
    if (log.size() > kMaxLogBytes) {
        error = QStringLiteral("%1 is too large").arg(path);
        return false;
    }
    const auto *data = reinterpret_cast<const std::uint8_t *>(log.constData());
    const int headerEnd = kTimestampLength + kMavLinkHeaderLength;
    int records = 0;
    std::uint64_t firstUs = 0;
    for (int at = 0; at + headerEnd <= log.size(); ++records) {
        const std::uint8_t *record = data + at;
        const int frameLength = TelemetryLog::frameLength(record);
        if (record[kTimestampLength] != kPublishedStx) {
            error =
                QStringLiteral("%1 is not a telemetry log: no frame at byte %2").arg(path).arg(at);
            return false;
        }
        if (at + kTimestampLength + frameLength > log.size())
            break;
        const quint64 timeUs = qFromBigEndian<quint64>(record);
        if (!sentByAssistant(record[kTimestampLength + kMsgIdOffset])) {
            if (frames.isEmpty())
                firstUs = timeUs;
            QByteArray frame(reinterpret_cast<const char *>(record + kTimestampLength),
                             frameLength);
            frame[0] = char(kMavLinkStx);
            // Unsigned, so that any two times give a gap; an earlier time plays at once.
            frames.append({timeUs > firstUs ? double(timeUs - firstUs) : 0.0, frame});
        }
        at += TelemetryLog::recordLength(record);
    }
    if (records == 0)
        error = QStringLiteral("%1 is not a telemetry log: it holds no whole record").arg(path);
    else if (frames.isEmpty())
        error = QStringLiteral("%1 holds no frame from the FC").arg(path);
    return !frames.isEmpty();
}

void SessionReplay::receiveBytes(const QByteArray &)
{
    if (started)
        return;
    started = true;
    clock.start();
    playDue();
}

void SessionReplay::playDue()
{
    const double playedUs = double(clock.nsecsElapsed()) / 1000.0 * speed;
    while (next < frames.size() && frames[next].offsetUs <= playedUs)
        emit bytesOut(frames[next++].bytes);
    if (next == frames.size()) {
        emit finished();
        return;
    }
    const double waitMs = (frames[next].offsetUs - playedUs) / speed / 1000.0;
    nextFrame.start(int(std::min(waitMs, kLongestWaitMs)));
}
