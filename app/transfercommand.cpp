#include "app/transfercommand.h"

#include "app/interruptwatch.h"
#include "mavlink/mavlinkbridge.h"
#include "params/paramtransfer.h"
#include "serial/fclink.h"
#include "serial/portlist.h"
#include "serial/sessionrecorder.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>

namespace {

constexpr int kFailureStatus = 1;
// Progress goes out in tenths, not once per parameter.
constexpr int kProgressSteps = 10;

void printLine(const QString &text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
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
    CommandLineTransfer() : link(bridge), transfer(bridge), recorder(link)
    {
        connect(link.port(), &QSerialPort::readyRead, &link, &FcLink::readAvailable);
        connect(link.port(), &QSerialPort::errorOccurred, this, &CommandLineTransfer::portError);
        connect(&transfer, &ParamTransfer::progress, this, &CommandLineTransfer::showProgress);
        connect(&transfer, &ParamTransfer::changesReady, this, &CommandLineTransfer::writeChanges);
        connect(&transfer, &ParamTransfer::finished, this, &CommandLineTransfer::finish);
        // Ctrl+C cancels as the window's Cancel does: the report still comes.
        connect(&interrupt, &InterruptWatch::interrupted, &transfer, &ParamTransfer::cancel);
        connect(&recorder, &SessionRecorder::stopped, this, &CommandLineTransfer::showRecording);
    }

    // Whatever command runs, the recording covers the open link from the
    // first frame to the close sequence.
    int run(TransferMode mode, const QString &file, const QString &recordFile)
    {
        if (!link.open()) {
            printFailure(link.port()->portName().isEmpty()
                             ? tr("No FC found; name its port with --port or ZEFA_GCS_PORT.")
                             : tr("Cannot open %1: %2.")
                                   .arg(flightControllerPortName(), link.port()->errorString()));
            return kFailureStatus;
        }
        if (!recordFile.isEmpty() && !recorder.start(recordFile)) {
            printFailure(tr("Cannot record to %1: %2").arg(recordFile, recorder.errorString()));
            link.close();
            return kFailureStatus;
        }
        if (mode == TransferMode::Backup)
            transfer.startBackup(file);
        else
            transfer.startRestore(file);
        loop.exec();
        link.close();
        return recordingFailed ? kFailureStatus : status;
    }

private slots:
    void portError(QSerialPort::SerialPortError error)
    {
        if (link.noteDeviceLoss(error))
            transfer.linkClosed();
    }

    void showProgress(ParamTransfer::Stage stage, int done, int total)
    {
        const int step = total > 0 ? done * kProgressSteps / total : -1;
        if (stage == shownStage && step <= shownStep)
            return;
        shownStage = stage;
        shownStep = step;
        printLine(ParamTransfer::progressText(stage, done, total));
    }

    // Nobody to ask: what will change is told, then written.
    void writeChanges(RestorePlan plan)
    {
        printLine(tr("Changes:"));
        for (const PlannedWrite &write : plan.writes)
            printLine(QStringLiteral("  ") + RestorePlan::changeText(write));
        printLine(plan.summary());
        transfer.confirmWrites();
    }

    void finish(TransferReport report)
    {
        if (report.outcome == TransferReport::Outcome::Succeeded) {
            printLine(report.message);
            status = 0;
        } else {
            printFailure(report.message);
        }
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
    static void printFailure(const QString &message)
    {
        printLine(QStringLiteral("zefa-gcs: ") + message);
    }

    MavLinkBridge bridge;
    FcLink link;
    ParamTransfer transfer;
    InterruptWatch interrupt;
    SessionRecorder recorder;
    QEventLoop loop;
    int status = kFailureStatus;
    bool recordingFailed = false;
    ParamTransfer::Stage shownStage = ParamTransfer::Stage::CheckingFirmware;
    int shownStep = -2;
};

} // namespace

int runTransferCommand(TransferMode mode, const QString &file, const QString &recordFile)
{
    const QtMessageHandler previous = qInstallMessageHandler(dropDebugMessages);
    int status = kFailureStatus;
    {
        CommandLineTransfer command;
        status = command.run(mode, file, recordFile);
    }
    qInstallMessageHandler(previous);
    return status;
}

#include "transfercommand.moc"
