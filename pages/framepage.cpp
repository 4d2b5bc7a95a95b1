#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initFramePage() {}

void MainWindow::frameReadButtonClicked() {}

void MainWindow::frameSaveButtonClicked() {}

void MainWindow::x4FrameSelected() {}

void MainWindow::plus4FrameSelected() {}

void MainWindow::x6FrameSelected() {}

void MainWindow::plus6FrameSelected() {}

void MainWindow::y6aFrameSelected() {}

void MainWindow::y6bFrameSelected() {}

void MainWindow::plus8FrameSelected() {}

void MainWindow::v8FrameSelected() {}

void MainWindow::x8FrameSelected() {}

void MainWindow::showFrameSelection() {}

void MainWindow::selectFrame(int, int) {}
