#include "app/mainwindow.h"

#include "session/fcsession.h"

void MainWindow::TextMessageReceived(int uasid, int componentid, int severity, QString text)
{
    Q_UNUSED(uasid)
    Q_UNUSED(componentid)
    session->routeStatusText(severity, text);
}
