#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"
#include "serial/portlist.h"
#include "serial/serialsettings.h"

#include <QMessageBox>
#include <QSocketNotifier>

#include <poll.h>

namespace {
const char kFirmwareVersionParam[] = "ZEFAVERSION";
constexpr int kStopStreams = -1;
} // namespace

void MainWindow::openSerialPort()
{
    const SerialSettings p = fixedLineSettings(flightControllerPortName());
    serial->setPortName(p.portName);
    serial->setBaudRate(p.baudRate);
    serial->setDataBits(p.dataBits);
    serial->setParity(p.parity);
    serial->setStopBits(p.stopBits);
    serial->setFlowControl(p.flowControl);

    if (!serial->open(QIODevice::ReadWrite)) {
        QMessageBox::critical(this, tr("Error"), tr("Please re plug the FC,and try again"));
        ui->statusBar->showMessage(tr("Open error"));
        return;
    }
    linkLossShown = false;
    ui->actionConnect->setEnabled(false);
    ui->actionDisconnect->setEnabled(true);
    ui->statusBar->showMessage(tr("Connected to flight controller"));
    bridge->setSerialPort(serial);
    connectLinkSignals();
    enableAccelCalibrationForNewLink();
    bridge->requestParameter(1, QString::fromLatin1(kFirmwareVersionParam));
}

void MainWindow::closeSerialPort()
{
    ui->actionConnect->setEnabled(true);
    ui->actionDisconnect->setEnabled(false);
    ui->statusBar->showMessage(tr("Disconnected"));
    if (bridge->isPortAttached()) {
        bridge->requestRawSensorsStream(kStopStreams);
        bridge->requestExtra1Stream(kStopStreams);
        bridge->requestExtra2Stream(kStopStreams);
        bridge->requestPositionStream(kStopStreams);
    }
    disconnectLinkSignals();
    bridge->detachSerialPort();
    serial->readAll();
    serial->close();
}

void MainWindow::connectLinkSignals()
{
    connect(bridge, &MavLinkBridge::textMessageReceived, this, &MainWindow::TextMessageReceived);
    connect(bridge, &MavLinkBridge::setATT, this, &MainWindow::attitudeUpdate);
}

// Removes every connection of each pair, the self-test page's start-up
// attitude connection included.
void MainWindow::disconnectLinkSignals()
{
    disconnect(bridge, &MavLinkBridge::textMessageReceived, this, &MainWindow::TextMessageReceived);
    disconnect(bridge, &MavLinkBridge::setATT, this, &MainWindow::attitudeUpdate);
}

// Only the loss of the device is reported; a failed open has its own box.
void MainWindow::handleError(QSerialPort::SerialPortError error)
{
    const bool deviceGone =
        error == QSerialPort::ResourceError || (error == QSerialPort::ReadError && lineHungUp());
    if (deviceGone)
        handleLinkLost();
}

// A USB serial device that disappears, like a pseudo-terminal whose other
// side closed, leaves the line hung up; Qt then reports read errors instead
// of the resource error.
bool MainWindow::lineHungUp() const
{
    if (!serial->isOpen())
        return false;
    pollfd pfd{static_cast<int>(serial->handle()), 0, 0};
    return poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

// One box per loss: reading stops first, because the hung-up line keeps
// raising errors while the box's own event loop runs.
void MainWindow::handleLinkLost()
{
    if (linkLossShown)
        return;
    linkLossShown = true;
    for (QSocketNotifier *notifier : serial->findChildren<QSocketNotifier *>()) {
        if (notifier->type() == QSocketNotifier::Read)
            notifier->setEnabled(false);
    }
    QMessageBox::critical(this, tr("Critical Error"), tr("Please re plug the FC and try again"));
    closeSerialPort();
}

void MainWindow::writeData(QByteArray data)
{
    serial->write(data);
}
