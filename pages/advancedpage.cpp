#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initAdvancedPage() {}

void MainWindow::advFFRead() {}

void MainWindow::advSoftSelected() {}

void MainWindow::advSportSelected() {}

void MainWindow::advByRCSelected() {}

void MainWindow::advRTHRead() {}

void MainWindow::advRTHSave() {}
