#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/laterbox.h"
#include "app/transferdialogs.h"
#include "serial/fclink.h"

#include <QDate>
#include <QFileDialog>
#include <QMessageBox>

namespace {
QString defaultBackupPath()
{
    return pathInDocuments(
        QStringLiteral("zefa-settings-%1.params").arg(QDate::currentDate().toString(Qt::ISODate)));
}
} // namespace

void MainWindow::initSettingsTransfer()
{
    transfer = new ParamTransfer(*bridge, link->parameters(), this);
    transferProgress = new TransferProgressDialog(this);
    connect(ui->actionBackUpSettings, &QAction::triggered, this, &MainWindow::backUpSettings);
    connect(ui->actionRestoreSettings, &QAction::triggered, this, &MainWindow::restoreSettings);
    connect(transfer, &ParamTransfer::progress, this, &MainWindow::showTransferProgress);
    connect(transfer, &ParamTransfer::changesReady, this, &MainWindow::confirmRestore);
    connect(transfer, &ParamTransfer::finished, this, &MainWindow::showTransferReport);
    connect(transferProgress, &QDialog::rejected, transfer, &ParamTransfer::cancel);
}

void MainWindow::backUpSettings()
{
    if (transfer->isRunning())
        return;
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Back Up Settings"), defaultBackupPath(),
                                     tr("Parameter files, five columns (*.params);;Parameter "
                                        "files, NAME,VALUE (*.param *.parm)"));
    if (path.isEmpty())
        return;
    openTransferProgress(tr("Back Up Settings"));
    transfer->startBackup(path);
}

void MainWindow::restoreSettings()
{
    if (transfer->isRunning())
        return;
    const QString path = chooseParamFileToOpen(this, tr("Restore Settings"));
    if (path.isEmpty())
        return;
    openTransferProgress(tr("Restore Settings"));
    transfer->startRestore(path);
}

void MainWindow::openTransferProgress(const QString &title)
{
    transferProgress->setWindowTitle(title);
    transferProgress->showProgress(QString(), 0, 0);
    transferProgress->open();
}

void MainWindow::showTransferProgress(ParamTransfer::Stage stage, int done, int total)
{
    transferProgress->showProgress(ParamTransfer::progressText(stage, done, total), done, total);
}

// The list closes by itself when the run ends meanwhile, for example when
// the FC is unplugged (showTransferReport).
void MainWindow::confirmRestore(RestorePlan plan)
{
    if (plan.isForAnotherVehicle() && !confirmOtherVehicle(plan)) {
        transfer->cancel();
        return;
    }
    if (!transfer->isRunning()) // the link closed while the question was open
        return;
    ChangeListDialog dialog(plan, this);
    changeList = &dialog;
    if (dialog.exec() == QDialog::Accepted)
        transfer->confirmWrites();
    else
        transfer->cancel();
}

bool MainWindow::confirmOtherVehicle(const RestorePlan &plan)
{
    return QMessageBox::question(this, tr("Restore Settings"),
                                 plan.otherVehicleText() + QLatin1Char(' ') +
                                     tr("Write its values to this FC anyway?")) == QMessageBox::Yes;
}

// A cancel before anything was written needs no box: the user knows.
void MainWindow::showTransferReport(TransferReport report)
{
    const QString title = transferProgress->windowTitle();
    transferProgress->hide();
    if (changeList)
        changeList->reject();
    switch (report.outcome) {
    case TransferReport::Outcome::Succeeded:
        showBoxLater(QMessageBox::information, this, title, report.message);
        break;
    case TransferReport::Outcome::Failed:
        showBoxLater(QMessageBox::critical, this, title, report.message);
        break;
    case TransferReport::Outcome::Cancelled:
        if (report.wroteAny)
            showBoxLater(QMessageBox::information, this, title, report.message);
        break;
    }
}
