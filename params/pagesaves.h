#pragma once

#include "paramwriter.h"
#include "writeturns.h"

#include <QPair>
#include <QQueue>
#include <QVariant>

// What one Save came to: how many values the FC confirmed, and each one it
// did not.
struct SaveOutcome
{
    QString what;
    int confirmed = 0;
    QList<UnconfirmedWrite> unconfirmed;
};

// The pages' one way to write to the FC. A Save's writes go out at once, in
// order, with the type each value holds (int as INT32, float as REAL32), and
// the writer then confirms each by the FC's echo. A Save made while another
// is still being confirmed is sent at once too, but confirmed only after it,
// so the two cannot take each other's echoes; an echo it missed meanwhile
// costs a resend. While another feature (a restore) writes, Saves wait for
// its turn to end and then go out. The pages write whether the FC is armed
// or not, as they always have.
class PageSaves : public QObject
{
    Q_OBJECT

public:
    using Values = QList<QPair<QString, QVariant>>;

    PageSaves(MavLinkBridge &bridge, WriteTurns &turns, QObject *parent = nullptr);

    // False, writing nothing, while no FC is connected. A Save the journal
    // cannot record is written all the same: the FC's setup comes first.
    bool save(const QString &what, const Values &values);
    // Ends the Save under way, which reports what was confirmed from the
    // event loop, and drops those still waiting.
    void linkClosed();

signals:
    void saveEnded(const SaveOutcome &outcome);
    void saveNotJournalled(const QString &what, const QString &reason);

private slots:
    void writesEnded();

private:
    void turnGiven();
    struct Save
    {
        QString what;
        QList<PlannedWrite> writes;
    };

    void startNext();
    SaveOutcome outcomeOf(const Save &save) const;

    MavLinkBridge &bridge;
    WriteTurns &turns;
    ParamWriter &writer;
    QQueue<Save> waiting;
};
