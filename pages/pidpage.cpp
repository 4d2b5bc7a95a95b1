#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initPidPage() {}

void MainWindow::pidSave() {}

void MainWindow::pidRead() {}
