#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initAccelPage() {}

void MainWindow::accelCalibrateButtonClicked() {}

void MainWindow::countdownTimerTick() {}

void MainWindow::accelTextReceived(const QString &) {}
