#include "app/transfercommand.h"

#include "app/historycommand.h"
#include "app/interruptwatch.h"
#include "params/changeundo.h"
#include "params/paramtransfer.h"
#include "serial/portlist.h"
#include "serial/sessionrecorder.h"
#include "session/fcsession.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int kFailureStatus = 1;
// Progress goes out in tenths, not once per parameter.
constexpr int kProgressSteps = 10;

// False when the line could not be written, for example to a pipe whose
// reader has gone.
bool printLine(const QString &text, FILE *stream = stderr)
{
    const bool written = std::fprintf(stream, "%s\n", text.toLocal8Bit().constData()) >= 0;
    return std::fflush(stream) == 0 && written;
}

// The debug lines of every parameter that passes would bury the progress.
void dropDebugMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        printLine(message);
}

class CommandLineTransfer : public QObject
{
    Q_OBJECT

public:
    CommandLineTransfer()
        : link(session.link()), transfer(session.bridge(), session.parameters(),
                                         session.heartbeat(), session.writeTurns()),
          undo(session.bridge(), session.parameters(), session.heartbeat(), session.writeTurns()),
          recorder(link)
    {
        connect(&link, &FcLink::deviceLost, &transfer, &ParamTransfer::linkClosed);
        connect(&link, &FcLink::deviceLost, &undo, &ChangeUndo::linkClosed);
        connect(&undo, &ChangeUndo::changedSinceFound, this, &CommandLineTransfer::decideChanged);
        connect(&undo, &ChangeUndo::finished, this, &CommandLineTransfer::finishUndo);
        connect(&transfer, &ParamTransfer::progress, this, &CommandLineTransfer::showProgress);
        connect(&transfer, &ParamTransfer::changesReady, this, &CommandLineTransfer::writeChanges);
        connect(&transfer, &ParamTransfer::finished, this, &CommandLineTransfer::finish);
        // Ctrl+C cancels as the window's Cancel does: the report still comes.
        connect(&interrupt, &InterruptWatch::interrupted, &transfer, &ParamTransfer::cancel);
        connect(&recorder, &SessionRecorder::stopped, this, &CommandLineTransfer::showRecording);
    }

    // Whatever command runs, the recording covers the open link from the
    // first frame to the close sequence.
    int run(const CommandLine &commandLine, const ChangeSet &setToUndo)
    {
        force = commandLine.force;
        undoneSet = setToUndo;
        if (!session.open()) {
            const QString port = flightControllerPortName();
            printFailure(
                port.isEmpty()
                    ? tr("No FC found; name its port with --port or ZEFA_GCS_PORT.")
                    : tr("Cannot open %1: %2.")
                          .arg(port, portOpenFailureReason(port, link.port()->errorString())));
            return kFailureStatus;
        }
        const QString &recordFile = commandLine.recordFile;
        if (!recordFile.isEmpty() && !recorder.start(recordFile, SessionRecorder::Replace::AtEnd)) {
            printFailure(tr("Cannot record to %1: %2").arg(recordFile, recorder.errorString()));
            session.close();
            return kFailureStatus;
        }
        start(commandLine);
        loop.exec();
        session.close();
        return recordingFailed ? kFailureStatus : status;
    }

private:
    void start(const CommandLine &commandLine)
    {
        switch (commandLine.transfer) {
        case CommandLine::Transfer::Backup:
            transfer.startBackup(commandLine.file);
            break;
        case CommandLine::Transfer::Restore:
            transfer.startRestore(commandLine.file);
            break;
        case CommandLine::Transfer::Get:
            transfer.startGet(commandLine.arguments);
            break;
        case CommandLine::Transfer::Undo:
            printLine(tr("Reading the FC's values of change set %1...").arg(undoneSet.id));
            undo.start(undoneSet);
            break;
        case CommandLine::Transfer::Set:
        case CommandLine::Transfer::History: // runs without a port
        case CommandLine::Transfer::None:    // main() opens the window instead
            transfer.startSet(commandLine.assignments);
            break;
        }
    }

private slots:
    void showProgress(ParamTransfer::Stage stage, int done, int total)
    {
        const int step = total > 0 ? done * kProgressSteps / total : -1;
        if (stage == shownStage && step <= shownStep)
            return;
        shownStage = stage;
        shownStep = step;
        printLine(ParamTransfer::progressText(stage, done, total));
    }

    // Nobody to ask: what will change is told, then written; a file from
    // another vehicle only when --force says so.
    void writeChanges(RestorePlan plan)
    {
        if (plan.isForAnotherVehicle() && !force) {
            transfer.decline(plan.otherVehicleText() + QLatin1Char(' ') +
                             tr("Give --force to write it anyway."));
            return;
        }
        if (plan.isForAnotherVehicle())
            printLine(plan.otherVehicleText() + QLatin1Char(' ') +
                      tr("Written anyway, as --force says."));
        printLine(tr("Changes:"));
        for (const PlannedWrite &write : plan.writes)
            printLine(QStringLiteral("  ") + RestorePlan::changeText(write));
        printLine(plan.summary());
        transfer.confirmWrites();
    }

    void finish(TransferReport report)
    {
        if (report.outcome == TransferReport::Outcome::Succeeded) {
            status = printValues(report.values) ? 0 : kFailureStatus;
            if (!report.message.isEmpty())
                printLine(report.message);
        } else {
            printFailure(report.message);
        }
        loop.quit();
    }

    // Values changed since the set are named; only --force writes them.
    void decideChanged(const QStringList &changes)
    {
        printLine(force ? tr("Changed since, written anyway, as --force says:")
                        : tr("Changed since, left alone (--force writes them too):"));
        for (const QString &change : changes)
            printLine(QStringLiteral("  ") + change);
        undo.proceed(force);
    }

    void finishUndo(const UndoReport &report)
    {
        status = report.succeeded ? 0 : kFailureStatus;
        if (report.succeeded)
            printLine(report.message);
        else
            printFailure(report.message);
        loop.quit();
    }

    void showRecording(const RecordingSummary &summary)
    {
        if (!summary.error.isEmpty()) {
            printFailure(tr("Recording stopped: %1").arg(summary.error));
            recordingFailed = true;
        }
        printLine(tr("Recorded %1 frames to %2; %3 rejected frames")
                      .arg(summary.frames)
                      .arg(summary.path)
                      .arg(summary.rejected));
    }

private:
    static bool printValues(const QStringList &values)
    {
        for (const QString &value : values) {
            if (!printLine(value, stdout)) {
                printFailure(tr("Cannot print the values: %1.").arg(qt_error_string(errno)));
                return false;
            }
        }
        return true;
    }

    static void printFailure(const QString &message)
    {
        printLine(QStringLiteral("zefa-gcs: ") + message);
    }

    FcSession session;
    FcLink &link;
    ParamTransfer transfer;
    ChangeUndo undo;
    ChangeSet undoneSet;
    InterruptWatch interrupt;
    SessionRecorder recorder;
    QEventLoop loop;
    int status = kFailureStatus;
    bool force = false;
    bool recordingFailed = false;
    ParamTransfer::Stage shownStage = ParamTransfer::Stage::CheckingFirmware;
    int shownStep = -2;
};

} // namespace

int runTransferCommand(const CommandLine &commandLine)
{
    if (commandLine.transfer == CommandLine::Transfer::History)
        return printHistory(commandLine.historyCount);
    ChangeSet setToUndo;
    if (commandLine.transfer == CommandLine::Transfer::Undo) {
        const int lookup = findChangeSet(commandLine.undoId, setToUndo);
        if (lookup != 0)
            return lookup;
    }
    const QtMessageHandler previous = qInstallMessageHandler(dropDebugMessages);
    int status = kFailureStatus;
    {
        CommandLineTransfer command;
        status = command.run(commandLine, setToUndo);
    }
    qInstallMessageHandler(previous);
    return status;
}

#include "transfercommand.moc"
