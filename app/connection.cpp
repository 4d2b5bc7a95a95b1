#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"
#include "pages/accelpage.h"
#include "pages/fctestpage.h"
#include "serial/fclink.h"

#include <QMessageBox>

void MainWindow::openSerialPort()
{
    if (!link->open()) {
        QMessageBox::critical(this, tr("Error"), tr("Please re plug the FC,and try again"));
        ui->statusBar->showMessage(tr("Open error"));
        return;
    }
    showLinkOpen(true);
    ui->statusBar->showMessage(tr("Connected to flight controller"));
    connectLinkSignals();
    accel->enableCalibrationForNewLink();
    link->requestFirmwareVersion();
}

// A backup, restore or Save still running loses its line here, whatever
// closed it.
void MainWindow::closeSerialPort()
{
    transfer->linkClosed();
    pageSaves->linkClosed();
    showLinkOpen(false);
    ui->statusBar->showMessage(tr("Disconnected"));
    disconnectLinkSignals();
    link->close();
}

// Backup, restore and recording need the link exactly when Disconnect
// makes sense.
void MainWindow::showLinkOpen(bool open)
{
    ui->actionConnect->setEnabled(!open);
    ui->actionDisconnect->setEnabled(open);
    ui->actionBackUpSettings->setEnabled(open);
    ui->actionRestoreSettings->setEnabled(open);
    ui->actionRecordSession->setEnabled(open);
}

void MainWindow::connectLinkSignals()
{
    connect(bridge, &MavLinkBridge::textMessageReceived, this, &MainWindow::TextMessageReceived);
    connect(bridge, &MavLinkBridge::setATT, fcTest, &FcTestPage::attitudeUpdate);
}

// Removes every connection of each pair, the self-test page's start-up
// attitude connection included.
void MainWindow::disconnectLinkSignals()
{
    disconnect(bridge, &MavLinkBridge::textMessageReceived, this, &MainWindow::TextMessageReceived);
    disconnect(bridge, &MavLinkBridge::setATT, fcTest, &FcTestPage::attitudeUpdate);
}

// Only the loss of the device is reported, once; a failed open has its own
// box. Nothing is left to report when the link closed meanwhile.
void MainWindow::reportDeviceLoss()
{
    if (!link->port()->isOpen())
        return;
    QMessageBox::critical(this, tr("Critical Error"), tr("Please re plug the FC and try again"));
    closeSerialPort();
}

void MainWindow::writeData(QByteArray data)
{
    link->port()->write(data);
}
