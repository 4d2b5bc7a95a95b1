#include "app/mainwindow.h"

#include "serial/fclink.h"

void MainWindow::receiveBytes(const QByteArray &bytes)
{
    link->receiveBytes(bytes);
}
