#pragma once

#include "journalformat.h"
#include "paramwriter.h"

#include <QObject>
#include <QTimer>

class ParameterStore;
class WriteTurns;

struct UndoReport
{
    bool succeeded = false;
    // Everything the user needs to know, in one paragraph.
    QString message;
};
Q_DECLARE_METATYPE(UndoReport)

// Writes a change set's values before back, as a change set of its own, a
// compare-and-swap: it first reads what the FC holds now (by name, each
// answer the FC's own), and writes a value back only where the FC still
// holds what the set left. Values changed since are offered
// (changedSinceFound) and written only when proceed() says so; a value never
// reported now is never written over. An armed FC gets nothing.
// Signals come from the event loop, never from inside the receive path.
class ChangeUndo : public QObject
{
    Q_OBJECT

public:
    ChangeUndo(MavLinkBridge &bridge, ParameterStore &store, HeartbeatWatch &heartbeat,
               WriteTurns &turns, QObject *parent = nullptr);
    // Ends the turn it holds or waits for.
    ~ChangeUndo() override;

    void start(const ChangeSet &set);
    // After changedSinceFound: whether those values are written too.
    void proceed(bool withChangedSince);
    bool isRunning() const { return running; }

public slots:
    // The line is gone: the undo ends at once.
    void linkClosed();

signals:
    // "NAME: set to A, the FC now holds B" for each.
    void changedSinceFound(const QStringList &changes);
    void finished(const UndoReport &report);

private slots:
    void parameterReported(const ParameterReport &report);
    void readNext();
    void writesEnded(ParamWriter::Ending ending);

private:
    struct Candidate
    {
        JournalChange change;
        float before = 0.0f;
    };

    void classify();
    QString changedSinceText(const Candidate &candidate) const;
    QString notUndoneText() const;
    void writeBack(const QList<Candidate> &chosen);
    void fail(const QString &message);
    void end(bool succeeded, const QString &message);

    MavLinkBridge &bridge;
    HeartbeatWatch &heartbeat;
    WriteTurns &turns;
    ParamWriter &writer;
    QTimer readWait;
    qint64 setId = 0;
    bool running = false;
    bool writing = false;
    QList<Candidate> candidates;
    QList<Candidate> toWrite;
    QList<Candidate> changedSince;
    QStringList unknownBefore;
    QStringList leftAlone;
    // The names read before anything is written, and what the FC said.
    QStringList readNames;
    QHash<QString, ParameterReport> now;
    int reading = 0;
    int readAttempts = 0;
};
