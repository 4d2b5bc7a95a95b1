#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/allparametersaction.h"
#include "app/historyaction.h"
#include "app/openfailure.h"
#include "app/savereports.h"
#include "app/transferactions.h"
#include "pages/accelpage.h"
#include "pages/fctestpage.h"
#include "session/fcsession.h"

#include <QMessageBox>

void MainWindow::openSerialPort()
{
    if (!session->open()) {
        QMessageBox box(QMessageBox::Critical, tr("Error"),
                        tr("Please re plug the FC,and try again"), QMessageBox::Ok, this);
        box.setInformativeText(openFailureDetails(session->link().port()->errorString()));
        box.exec();
        ui->statusBar->showMessage(tr("Open error"));
        return;
    }
    showLinkOpen(true);
    ui->statusBar->showMessage(tr("Connected to flight controller"));
    switchLinkSignals(true);
    accel->enableCalibrationForNewLink();
    session->link().requestFirmwareVersion();
}

// A backup, restore or Save still running loses its line here, whatever
// closed it.
void MainWindow::closeSerialPort()
{
    transfers->linkClosed();
    saves->linkClosed();
    showLinkOpen(false);
    ui->statusBar->showMessage(tr("Disconnected"));
    switchLinkSignals(false);
    session->close();
}

// Backup, restore, recording, All Parameters and History's Undo need the
// link exactly when Disconnect makes sense.
void MainWindow::showLinkOpen(bool open)
{
    ui->actionConnect->setEnabled(!open);
    ui->actionDisconnect->setEnabled(open);
    ui->actionBackUpSettings->setEnabled(open);
    ui->actionRestoreSettings->setEnabled(open);
    ui->actionRecordSession->setEnabled(open);
    allParameters->followLink(open);
    history->followLink(open);
}

// The connections of one link: made on every open; a close removes every
// connection of each pair, the self-test page's start-up attitude
// connection included.
void MainWindow::switchLinkSignals(bool on)
{
    if (on) {
        connect(bridge, &MavLinkBridge::textMessageReceived, this,
                &MainWindow::TextMessageReceived);
        connect(bridge, &MavLinkBridge::setATT, fcTest, &FcTestPage::attitudeUpdate);
        return;
    }
    disconnect(bridge, &MavLinkBridge::textMessageReceived, this, &MainWindow::TextMessageReceived);
    disconnect(bridge, &MavLinkBridge::setATT, fcTest, &FcTestPage::attitudeUpdate);
}

void MainWindow::receiveBytes(const QByteArray &bytes)
{
    session->link().receiveBytes(bytes);
}

// Only the loss of the device is reported, once; a failed open has its own
// box. Queued: the link may have closed meanwhile.
void MainWindow::reportDeviceLoss()
{
    if (!session->isOpen())
        return;
    QMessageBox::critical(this, tr("Critical Error"), tr("Please re plug the FC and try again"));
    closeSerialPort();
}

void MainWindow::writeData(QByteArray data)
{
    session->link().port()->write(data);
}
