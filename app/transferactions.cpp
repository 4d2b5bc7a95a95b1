#include "app/transferactions.h"

#include "app/laterbox.h"
#include "app/mainwindow.h"
#include "app/transferdialogs.h"
#include "session/fcsession.h"

#include <QAction>
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

TransferActions::TransferActions(FcSession &session, QAction &backUp, QAction &restore,
                                 QWidget &window)
    : QObject(&window), window(window),
      transfer(session.bridge(), session.parameters(), session.heartbeat(), session.writeTurns()),
      progress(new TransferProgressDialog(&window))
{
    connect(&backUp, &QAction::triggered, this, &TransferActions::backUpSettings);
    connect(&restore, &QAction::triggered, this, &TransferActions::restoreSettings);
    connect(&transfer, &ParamTransfer::progress, this, &TransferActions::showProgress);
    connect(&transfer, &ParamTransfer::changesReady, this, &TransferActions::confirmRestore);
    connect(&transfer, &ParamTransfer::finished, this, &TransferActions::showReport);
    connect(progress, &QDialog::rejected, &transfer, &ParamTransfer::cancel);
}

void TransferActions::backUpSettings()
{
    if (transfer.isRunning())
        return;
    const QString path = QFileDialog::getSaveFileName(
        &window, MainWindow::tr("Back Up Settings"), defaultBackupPath(),
        MainWindow::tr("Parameter files, five columns (*.params);;Parameter "
                       "files, NAME,VALUE (*.param *.parm)"));
    if (path.isEmpty())
        return;
    openProgress(MainWindow::tr("Back Up Settings"));
    transfer.startBackup(path);
}

void TransferActions::restoreSettings()
{
    if (transfer.isRunning())
        return;
    const QString path = chooseParamFileToOpen(&window, MainWindow::tr("Restore Settings"));
    if (path.isEmpty())
        return;
    openProgress(MainWindow::tr("Restore Settings"));
    transfer.startRestore(path);
}

void TransferActions::openProgress(const QString &title)
{
    progress->setWindowTitle(title);
    progress->showProgress(QString(), 0, 0);
    progress->open();
}

void TransferActions::showProgress(ParamTransfer::Stage stage, int done, int total)
{
    progress->showProgress(ParamTransfer::progressText(stage, done, total), done, total);
}

// The list closes by itself when the run ends meanwhile, for example when
// the FC is unplugged (showReport).
void TransferActions::confirmRestore(RestorePlan plan)
{
    if (plan.isForAnotherVehicle() && !confirmOtherVehicle(plan)) {
        transfer.cancel();
        return;
    }
    if (!transfer.isRunning()) // the link closed while the question was open
        return;
    ChangeListDialog dialog(plan, &window);
    changeList = &dialog;
    if (dialog.exec() == QDialog::Accepted)
        transfer.confirmWrites();
    else
        transfer.cancel();
}

bool TransferActions::confirmOtherVehicle(const RestorePlan &plan)
{
    return QMessageBox::question(&window, MainWindow::tr("Restore Settings"),
                                 plan.otherVehicleText() + QLatin1Char(' ') +
                                     MainWindow::tr("Write its values to this FC anyway?")) ==
           QMessageBox::Yes;
}

// A cancel before anything was written needs no box: the user knows.
void TransferActions::showReport(TransferReport report)
{
    const QString title = progress->windowTitle();
    progress->hide();
    if (changeList)
        changeList->reject();
    switch (report.outcome) {
    case TransferReport::Outcome::Succeeded:
        showBoxLater(QMessageBox::information, &window, title, report.message);
        break;
    case TransferReport::Outcome::Failed:
        showBoxLater(QMessageBox::critical, &window, title, report.message);
        break;
    case TransferReport::Outcome::Cancelled:
        if (report.wroteAny)
            showBoxLater(QMessageBox::information, &window, title, report.message);
        break;
    }
}
