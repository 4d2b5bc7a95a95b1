#pragma once

#include "heartbeatwatch.h"
#include "paramlistreader.h"
#include "paramwriter.h"
#include "restoreplan.h"
#include "writeturns.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class MavLinkBridge;
class ParameterStore;

struct TransferReport
{
    enum class Outcome
    {
        Succeeded,
        Failed,
        Cancelled,
    };

    Outcome outcome = Outcome::Failed;
    // Everything the user needs to know, in one paragraph.
    QString message;
    // Whether any value was sent to the FC.
    bool wroteAny = false;
    // Of a run of startGet(): "NAME VALUE" for each name asked for.
    QStringList values;
};
Q_DECLARE_METATYPE(TransferReport)

// Backup and restore of the FC's parameters, for the window and the command
// line alike. A state machine driven by timers and the FC's answers; it
// sends at most one frame per turn of the event loop and never waits in a
// loop. Both runs first make sure the FC runs the supported firmware, then
// read its whole list. A backup then saves the file; a restore, once a
// heartbeat has shown the FC disarmed, shows its changes with changesReady()
// and writes only after confirmWrites().
// finished() ends every run, never from inside the receive path.
class ParamTransfer : public QObject
{
    Q_OBJECT

public:
    enum class Stage
    {
        CheckingFirmware,
        ReadingList,
        Writing,
    };
    Q_ENUM(Stage)

    // Writes through the FC's one writer, when its turn comes.
    ParamTransfer(MavLinkBridge &bridge, ParameterStore &store, HeartbeatWatch &heartbeat,
                  WriteTurns &turns, QObject *parent = nullptr);

    void startBackup(const QString &path);
    void startRestore(const QString &path);
    // The FC's values of these names, in the report; any name the FC does
    // not have fails the run.
    void startGet(const QStringList &names);
    // Written as a restore writes a file's values; any name the FC does not
    // have, or never lets write, fails the run before anything is written.
    void startSet(const QList<ParamFileEntry> &values);
    bool isRunning() const { return running; }

    static QString progressText(Stage stage, int done, int total);

public slots:
    void confirmWrites();
    // Before the writes nothing is written; during them the run stops after
    // the write in flight.
    void cancel();
    // The changes offered are not to be written, for the reason given: the
    // run fails with it.
    void decline(const QString &reason);
    // The line is gone: the run ends at once.
    void linkClosed();

signals:
    void progress(ParamTransfer::Stage stage, int done, int total);
    void changesReady(RestorePlan plan);
    void finished(TransferReport report);

private slots:
    void sendFirmwareRequest();
    void parameterReported(const ParameterReport &report);
    void listProgress(int received, int total);
    void listRead(bool complete);
    void writeProgress(int done, int total);
    void writesEnded(ParamWriter::Ending ending);
    void heartbeatArrived();
    void heartbeatMissing();

private:
    enum class Mode
    {
        Backup,
        Restore,
        Get,
        Set,
    };

    void start(Mode runMode, const QString &filePath);
    bool checkBackupTarget();
    bool loadRestoreFile();
    void firmwareReported(const ParameterReport &report);
    QString listProblem(bool complete);
    void saveBackup();
    void reportValues();
    void offerWrites();
    QHash<QString, ParameterReport> fcParameters() const;
    QString refusalText(const ParamFileError &refused) const;
    QString setProblem() const;
    QString cancelledText() const;
    void offerChanges();
    void startWrites();
    void failForSilence();
    QString withNothingWritten(const QString &message) const;
    static QString unknownExtensionProblem();
    void fail(const QString &message);
    void end(TransferReport::Outcome outcome, const QString &message);

    MavLinkBridge &bridge;
    HeartbeatWatch &heartbeat;
    HeartbeatWait heartbeatWait;
    ParamListReader reader;
    WriteTurns &turns;
    ParamWriter &writer;
    QElapsedTimer sinceStart;
    QTimer firmwareTurn;
    int firmwareRequests = 0;
    Mode mode = Mode::Backup;
    Stage stage = Stage::CheckingFirmware;
    bool running = false;
    bool awaitingConfirmation = false;
    // Before the changes are offered: the armed flag must be known.
    bool awaitingHeartbeat = false;
    QString path;
    // Why the journal cannot record the writes; they go ahead all the same.
    QString journalProblem;
    QString firmwareVersion;
    QList<ParamFileEntry> fileEntries;
    // The FC's list as read, each name once.
    QList<ParameterReport> fcList;
    QStringList requestedNames;
    QStringList values;
    RestorePlan plan;
};
