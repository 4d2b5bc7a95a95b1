#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initVoltagePage() {}

void MainWindow::setBatt(float) {}

void MainWindow::failSafeLandingClicked() {}

void MainWindow::failSafeWarningClicked() {}

void MainWindow::voltageSaveButtonClicked() {}

void MainWindow::voltageReadButtonClicked() {}

void MainWindow::voltageCalibrateButtonClicked() {}
