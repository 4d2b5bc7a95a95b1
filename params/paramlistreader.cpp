#include "paramlistreader.h"

#include "fc/fcconventions.h"
#include "params/parameterstore.h"

namespace {
// Answers to the list request stop for this long: the FC has sent it all.
constexpr int kListQuietMs = 1000;
// After the last request of a round, answers come at once or not at all.
constexpr int kRoundQuietMs = 250;
// Rounds in a row that may bring nothing new. On a line that loses a third
// of the answers, fewer would give up on a healthy FC now and then.
constexpr int kMaxFruitlessRounds = 8;
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
}

void ParamListReader::start()
{
    byIndex.clear();
    count = 0;
    reading = true;
    missingToRequest.clear();
    receivedBeforeRound = 0;
    fruitlessRounds = 0;
    listRequestDue = true;
    scheduleNextRequest();
}

void ParamListReader::stop()
{
    reading = false;
    sendTurn.stop();
    quiet.stop();
}

void ParamListReader::scheduleNextRequest()
{
    sendTurn.start();
}

void ParamListReader::sendNextRequest()
{
    if (!reading)
        return;
    if (listRequestDue) {
        listRequestDue = false;
        bridge.requestParameterList(Fc::kComponent);
        waitForAnswers(kListQuietMs);
        return;
    }
    while (!missingToRequest.isEmpty() && byIndex.contains(missingToRequest.first()))
        missingToRequest.removeFirst();
    if (missingToRequest.isEmpty())
        return;
    bridge.requestParameterByIndex(Fc::kComponent, std::int16_t(missingToRequest.takeFirst()));
    waitForAnswers(kRoundQuietMs);
    if (!missingToRequest.isEmpty())
        scheduleNextRequest();
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
    else if (quietMs == kListQuietMs && report.index == count - 1)
        quiet.start(0); // the list's last answer: the FC has sent it all
    else
        quiet.start(quietMs);
}

void ParamListReader::waitForAnswers(int ms)
{
    quietMs = ms;
    quiet.start(ms);
}

void ParamListReader::answersStopped()
{
    if (!reading || sendTurn.isActive())
        return;
    fruitlessRounds = byIndex.size() > receivedBeforeRound ? 0 : fruitlessRounds + 1;
    if (fruitlessRounds > kMaxFruitlessRounds) {
        finish(false);
        return;
    }
    receivedBeforeRound = byIndex.size();
    queueRound();
    scheduleNextRequest();
}

// Nothing came at all: the list request itself may have been lost.
void ParamListReader::queueRound()
{
    if (count == 0) {
        listRequestDue = true;
        return;
    }
    missingToRequest.clear();
    for (int index = 0; index < count; ++index) {
        if (!byIndex.contains(index))
            missingToRequest.append(index);
    }
}

void ParamListReader::finish(bool complete)
{
    stop();
    emit finished(complete);
}
