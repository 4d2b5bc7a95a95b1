#pragma once

#include "mavlink/mavlinkbridge.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>

// Reads the FC's whole parameter list: asks for the list and collects the
// answers by index; when they stop, asks for each missing index, round
// after round, and for the list again while nothing has come at all. One
// request per event-loop turn. Gives up after several rounds in a row that
// brought nothing new.
class ParamListReader : public QObject
{
    Q_OBJECT

public:
    explicit ParamListReader(MavLinkBridge &bridge, QObject *parent = nullptr);

    void start();
    void stop();

    // 0 until the FC has told its count.
    int total() const { return count; }
    int receivedCount() const { return byIndex.size(); }
    // In the FC's order.
    QList<ParameterReport> parameters() const { return byIndex.values(); }

signals:
    void progress(int received, int total);
    // complete is false when parameters are still missing, or none came.
    void finished(bool complete);

private slots:
    void parameterReported(ParameterReport report);
    void sendNextRequest();
    void answersStopped();

private:
    void scheduleNextRequest();
    void waitForAnswers(int ms);
    void queueRound();
    bool isComplete() const { return count > 0 && byIndex.size() == count; }
    void finish(bool complete);

    MavLinkBridge &bridge;
    QMap<int, ParameterReport> byIndex;
    int count = 0;
    bool reading = false;
    bool listRequestDue = false;
    QList<int> missingToRequest;
    int receivedBeforeRound = 0;
    int fruitlessRounds = 0;
    int quietMs = 0;
    QTimer sendTurn;
    QTimer quiet;
};
