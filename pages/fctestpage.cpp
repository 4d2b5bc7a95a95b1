#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initFcTestPage() {}

void MainWindow::fcTestButtonClicked() {}

void MainWindow::attitudeUpdate(double, double, double) {}

void MainWindow::armedUpdate(bool) {}

void MainWindow::selfTestTextReceived(const QString &) {}
