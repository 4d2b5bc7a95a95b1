#pragma once

#include "mavlink/mavlinkbridge.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>

class ParameterStore;

// Reads the FC's whole parameter list: asks for the list and collects the
// answers by index; when they stop, asks for missing indexes, a round of
// at most kRoundRequests at a time, and for the list again while nothing
// has come at all. Each request is queued only when the one before has left
// the line, so a round's quiet time starts when its last request was sent
// and nothing is left to go out when the reader stops. Gives up after
// several rounds in a row that brought nothing new.
class ParamListReader : public QObject
{
    Q_OBJECT

public:
    // An R7 on firmware 20 has 408 parameters. A count beyond this is a
    // garbled or foreign answer: reading it would take a round of single
    // requests 20 ms apart per missing index, hours for the 65535 a 16-bit
    // count allows. 1024 leaves room for new firmware and still reads in
    // seconds.
    static constexpr int kMaxCount = 1024;
    // A round asks for the next this many missing indexes, so that rounds
    // that bring nothing end an FC whose count cannot be right in seconds
    // even where most of it is missing.
    static constexpr int kRoundRequests = 32;

    ParamListReader(MavLinkBridge &bridge, ParameterStore &store, QObject *parent = nullptr);

    void start();
    void stop();

    // 0 until the FC has told its count; beyond kMaxCount the read ends at
    // once, incomplete.
    int total() const { return count; }
    int receivedCount() const { return byIndex.size(); }
    // In the FC's order.
    QList<ParameterReport> parameters() const { return byIndex.values(); }

signals:
    void progress(int received, int total);
    // complete is false when parameters are still missing, or none came.
    void finished(bool complete);

private slots:
    void parameterReported(const ParameterReport &report);
    void frameSent(const QByteArray &frame);
    void sendNextRequest();
    void answersStopped();

private:
    bool isComplete() const { return count > 0 && byIndex.size() == count; }
    // Every request of the round, or the list request, has left the line.
    bool roundSent() const;
    bool roundAnswered() const;
    int quietAfter(const ParameterReport &report) const;
    void queueRound();
    void finish(bool complete);

    MavLinkBridge &bridge;
    QMap<int, ParameterReport> byIndex;
    int count = 0;
    bool reading = false;
    bool listRequestDue = false;
    // Queued, not yet on the line.
    bool awaitingDeparture = false;
    QList<int> roundIndexes;
    QList<int> askedInRound;
    int lastAsked = -1;
    int receivedBeforeRound = 0;
    int fruitlessRounds = 0;
    int quietMs = 0;
    QTimer sendTurn;
    QTimer quiet;
};
