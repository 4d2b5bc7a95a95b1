#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initRadioPage() {}

void MainWindow::updateRadioValue(unsigned short *) {}

void MainWindow::radioReadButtonClicked() {}

void MainWindow::radioPWMClicked() {}

void MainWindow::radioPPMClicked() {}

void MainWindow::radioSBUSClicked() {}
