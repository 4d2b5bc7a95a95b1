#include "sessionreplay.h"

#include "mavlink/mavlinkmessage.h"
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

bool sentByAssistant(std::uint8_t msgid)
{
    static constexpr std::uint8_t kAssistantMessages[] = {
        MavMsg::ParamRequestRead,  MavMsg::ParamRequestList, MavMsg::ParamSet,
        MavMsg::RequestDataStream, MavMsg::CommandLong,      MavMsg::CommandAck};
    return std::find(std::begin(kAssistantMessages), std::end(kAssistantMessages), msgid) !=
           std::end(kAssistantMessages);
}
} // namespace

SessionReplay::SessionReplay(QObject *parent) : QObject(parent)
{
    nextFrame.setSingleShot(true);
    connect(&nextFrame, &QTimer::timeout, this, &SessionReplay::playDue);
}

bool SessionReplay::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLogBytes) {
        error = file.isOpen() ? QStringLiteral("%1 is too large").arg(path) : file.errorString();
        return false;
    }
    const QByteArray log = file.readAll();
    const auto *data = reinterpret_cast<const std::uint8_t *>(log.constData());
    const int headerEnd = kTimestampLength + kMavLinkHeaderLength;
    std::int64_t firstUs = -1;
    for (int at = 0; at + headerEnd <= log.size();) {
        const std::uint8_t *record = data + at;
        const int frameLength = TelemetryLog::frameLength(record);
        if (record[kTimestampLength] != kPublishedStx) {
            error =
                QStringLiteral("%1 is not a telemetry log: no frame at byte %2").arg(path).arg(at);
            return false;
        }
        if (at + kTimestampLength + frameLength > log.size())
            break;
        const auto timeUs = std::int64_t(qFromBigEndian<quint64>(record));
        if (!sentByAssistant(record[kTimestampLength + kMsgIdOffset])) {
            if (firstUs < 0)
                firstUs = timeUs;
            QByteArray frame(reinterpret_cast<const char *>(record + kTimestampLength),
                             frameLength);
            frame[0] = char(kMavLinkStx);
            frames.append({std::max<std::int64_t>(0, timeUs - firstUs), frame});
        }
        at += TelemetryLog::recordLength(record);
    }
    return true;
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
    while (next < frames.size() && double(frames[next].offsetUs) <= playedUs)
        emit bytesOut(frames[next++].bytes);
    if (next == frames.size()) {
        emit finished();
        return;
    }
    const double waitUs = (double(frames[next].offsetUs) - playedUs) / speed;
    nextFrame.start(int(waitUs / 1000.0));
}
