#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/laterbox.h"
#include "app/transferdialogs.h"
#include "serial/sessionrecorder.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>
#include <QSignalBlocker>

namespace {
QString defaultRecordingPath()
{
    return pathInDocuments(
        QStringLiteral("zefa-session-%1.tlog")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}
} // namespace

// The action shows the recorder's state; only the user's toggles act.
void MainWindow::showRecording(bool on)
{
    const QSignalBlocker quiet(ui->actionRecordSession);
    ui->actionRecordSession->setChecked(on);
}

void MainWindow::initSessionRecording()
{
    recorder = new SessionRecorder(*link, this);
    connect(ui->actionRecordSession, &QAction::toggled, this, &MainWindow::recordSessionToggled);
    connect(recorder, &SessionRecorder::stopped, this, &MainWindow::showRecordingStopped);
}

void MainWindow::recordSessionToggled(bool checked)
{
    if (!checked) {
        recorder->stop();
        return;
    }
    if (recorder->isRecording())
        return;
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Record Session"), defaultRecordingPath(),
                                     tr("Telemetry logs (*.tlog);;All files (*)"));
    if (path.isEmpty())
        showRecording(false);
    else
        startRecording(path);
}

void MainWindow::startRecording(const QString &path)
{
    if (recorder->isRecording())
        return;
    if (recorder->start(path)) {
        showRecording(true);
        ui->statusBar->showMessage(tr("Recording the session to %1").arg(path));
        return;
    }
    showRecording(false);
    QMessageBox::warning(this, tr("Record Session"),
                         tr("Cannot record to %1: %2.").arg(path, recorder->errorString()));
}

// Ends however the recording ended: unchecked, link closed or a failed
// write, which also gets a box (a write at 16 KiB runs inside a frame's
// handling).
void MainWindow::showRecordingStopped(const RecordingSummary &summary)
{
    showRecording(false);
    const QString counts = tr("Recorded %1 frames to %2; %3 rejected frames.")
                               .arg(summary.frames)
                               .arg(summary.path)
                               .arg(summary.rejected);
    ui->statusBar->showMessage(counts);
    if (!summary.error.isEmpty())
        showBoxLater(QMessageBox::warning, this, tr("Record Session"),
                     tr("Recording stopped: %1.").arg(summary.error) + QLatin1Char('\n') + counts);
}
