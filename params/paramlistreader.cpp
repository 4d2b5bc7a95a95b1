#include "paramlistreader.h"

#include "fc/fcconventions.h"
#include "params/parameterstore.h"

#include <algorithm>

namespace {
// Answers to the list request stop for this long: the FC has sent it all.
constexpr int kListQuietMs = 1000;
// After the last request of a round left, answers come at once or not at all.
constexpr int kRoundQuietMs = 250;
// Rounds in a row that may bring nothing new. On a line that loses a third
// of the answers, fewer would give up on a healthy FC now and then.
constexpr int kMaxFruitlessRounds = 8;

bool isParameterRequest(const QByteArray &frame)
{
    if (frame.size() < kMavLinkHeaderLength)
        return false;
    const auto msgid = std::uint8_t(frame.at(kMavLinkHeaderLength - 1));
    return msgid == MavMsg::ParamRequestList || msgid == MavMsg::ParamRequestRead;
}
} // namespace

ParamListReader::ParamListReader(MavLinkBridge &bridge, ParameterStore &store, QObject *parent)
    : QObject(parent), bridge(bridge)
{
    sendTurn.setSingleShot(true);
    sendTurn.setInterval(0);
    quiet.setSingleShot(true);
    connect(&sendTurn, &QTimer::timeout, this, &ParamListReader::sendNextRequest);
    connect(&quiet, &QTimer::timeout, this, &ParamListReader::answersStopped);
    connect(&store, &ParameterStore::parameterReceived, this, &ParamListReader::parameterReported);
    connect(&bridge, &MavLinkBridge::frameSent, this, &ParamListReader::frameSent);
}

void ParamListReader::start()
{
    byIndex.clear();
    count = 0;
    reading = true;
    awaitingDeparture = false;
    roundIndexes.clear();
    askedInRound.clear();
    lastAsked = -1;
    receivedBeforeRound = 0;
    fruitlessRounds = 0;
    listRequestDue = true;
    sendTurn.start();
}

void ParamListReader::stop()
{
    reading = false;
    sendTurn.stop();
    quiet.stop();
}

void ParamListReader::sendNextRequest()
{
    if (!reading)
        return;
    if (listRequestDue) {
        listRequestDue = false;
        awaitingDeparture = true;
        quietMs = kListQuietMs;
        bridge.requestParameterList(Fc::kComponent);
        return;
    }
    while (!roundIndexes.isEmpty() && byIndex.contains(roundIndexes.first()))
        roundIndexes.removeFirst();
    if (roundIndexes.isEmpty()) {
        quiet.start(0); // all that was left to ask has come meanwhile
        return;
    }
    lastAsked = roundIndexes.takeFirst();
    askedInRound << lastAsked;
    awaitingDeparture = true;
    quietMs = kRoundQuietMs;
    bridge.requestParameterByIndex(Fc::kComponent, std::int16_t(lastAsked));
}

// The next request is queued only now, so none waits in the queue when the
// read ends; the quiet time counts from the last request's departure.
void ParamListReader::frameSent(const QByteArray &frame)
{
    if (!reading || !awaitingDeparture || !isParameterRequest(frame))
        return;
    awaitingDeparture = false;
    if (roundIndexes.isEmpty())
        quiet.start(roundAnswered() ? 0 : quietMs);
    else
        sendTurn.start();
}

// Answers with another count, or an index beyond it (a write's echo may
// carry 65535), are not part of this list.
void ParamListReader::parameterReported(const ParameterReport &report)
{
    if (!reading || report.count == 0 || report.index >= report.count)
        return;
    if (count == 0 && report.count > kMaxCount) {
        count = report.count;
        finish(false);
        return;
    }
    if (count == 0)
        count = report.count;
    if (report.count != count)
        return;
    const bool isNew = !byIndex.contains(report.index);
    byIndex.insert(report.index, report);
    if (isNew)
        emit progress(byIndex.size(), count);
    if (isComplete())
        finish(true);
    else if (roundSent())
        quiet.start(quietAfter(report));
}

bool ParamListReader::roundSent() const
{
    return !listRequestDue && !awaitingDeparture && roundIndexes.isEmpty();
}

bool ParamListReader::roundAnswered() const
{
    return !askedInRound.isEmpty() &&
           std::all_of(askedInRound.begin(), askedInRound.end(),
                       [this](int index) { return byIndex.contains(index); });
}

// The list's last answer, or the last one a round asked for: the FC has sent
// all it will.
int ParamListReader::quietAfter(const ParameterReport &report) const
{
    const bool listEnded = quietMs == kListQuietMs && report.index == count - 1;
    return listEnded || roundAnswered() ? 0 : quietMs;
}

void ParamListReader::answersStopped()
{
    if (!reading || !roundSent())
        return;
    fruitlessRounds = byIndex.size() > receivedBeforeRound ? 0 : fruitlessRounds + 1;
    if (fruitlessRounds > kMaxFruitlessRounds) {
        finish(false);
        return;
    }
    receivedBeforeRound = byIndex.size();
    queueRound();
    sendTurn.start();
}

// Nothing came at all: the list request itself may have been lost. Else the
// round goes on from the index after the last one asked, so rounds that
// bring nothing cover new indexes.
void ParamListReader::queueRound()
{
    askedInRound.clear();
    if (count == 0) {
        listRequestDue = true;
        return;
    }
    QList<int> missing;
    for (int index = 0; index < count; ++index) {
        if (!byIndex.contains(index))
            missing.append(index);
    }
    const auto next = std::upper_bound(missing.begin(), missing.end(), lastAsked);
    std::rotate(missing.begin(), next, missing.end());
    roundIndexes = missing.mid(0, kRoundRequests);
}

void ParamListReader::finish(bool complete)
{
    stop();
    emit finished(complete);
}
