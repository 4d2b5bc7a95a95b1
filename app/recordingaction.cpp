#include "app/recordingaction.h"

#include "app/laterbox.h"
#include "app/mainwindow.h"
#include "app/transferdialogs.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStatusBar>

namespace {
QString defaultRecordingPath()
{
    return pathInDocuments(
        QStringLiteral("zefa-session-%1.tlog")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}
} // namespace

RecordingAction::RecordingAction(FcLink &link, QAction &action, QStatusBar &statusBar,
                                 QWidget &window)
    : QObject(&window), action(action), statusBar(statusBar), window(window), recorder(link)
{
    connect(&action, &QAction::toggled, this, &RecordingAction::toggled);
    connect(&recorder, &SessionRecorder::stopped, this, &RecordingAction::showStopped);
}

// The action shows the recorder's state; only the user's toggles act.
void RecordingAction::showRecording(bool on)
{
    const QSignalBlocker quiet(action);
    action.setChecked(on);
}

void RecordingAction::toggled(bool checked)
{
    if (!checked) {
        recorder.stop();
        return;
    }
    if (recorder.isRecording())
        return;
    const QString path = QFileDialog::getSaveFileName(
        &window, MainWindow::tr("Record Session"), defaultRecordingPath(),
        MainWindow::tr("Telemetry logs (*.tlog);;All files (*)"));
    if (path.isEmpty())
        showRecording(false);
    else
        start(path);
}

void RecordingAction::start(const QString &path)
{
    if (recorder.isRecording())
        return;
    if (recorder.start(path)) {
        showRecording(true);
        statusBar.showMessage(MainWindow::tr("Recording the session to %1").arg(path));
        return;
    }
    showRecording(false);
    QMessageBox::warning(
        &window, MainWindow::tr("Record Session"),
        MainWindow::tr("Cannot record to %1: %2.").arg(path, recorder.errorString()));
}

// Ends however the recording ended: unchecked, link closed or a failed
// write, which also gets a box (a write at 16 KiB runs inside a frame's
// handling).
void RecordingAction::showStopped(const RecordingSummary &summary)
{
    showRecording(false);
    const QString counts = MainWindow::tr("Recorded %1 frames to %2; %3 rejected frames.")
                               .arg(summary.frames)
                               .arg(summary.path)
                               .arg(summary.rejected);
    statusBar.showMessage(counts);
    if (!summary.error.isEmpty())
        showBoxLater(QMessageBox::warning, &window, MainWindow::tr("Record Session"),
                     MainWindow::tr("Recording stopped: %1.").arg(summary.error) +
                         QLatin1Char('\n') + counts);
}
