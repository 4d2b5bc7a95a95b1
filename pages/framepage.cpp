#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

void MainWindow::initFramePage()
{
    // The only route by which parameter values from the FC reach the window.
    connect(bridge, &MavLinkBridge::setParam, this, &MainWindow::parameterChanged);
}

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
