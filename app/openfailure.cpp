#include "app/openfailure.h"

#include "app/mainwindow.h"
#include "app/portmenu.h"
#include "serial/portlist.h"

#include <QStringList>

QString openFailureDetails(const QString &portError)
{
    const QString portName = flightControllerPortName();
    if (!portName.isEmpty())
        return MainWindow::tr("Could not open %1: %2.")
            .arg(portName, portOpenFailureReason(portName, portError));
    QStringList labels;
    for (const SerialPortDescription &port : availableSerialPorts())
        labels << portLabel(port);
    if (labels.isEmpty())
        return MainWindow::tr("This computer lists no serial port. A port it does not list can "
                              "be named under Action > Port > Other Port...");
    return MainWindow::tr("None of these ports is known as the FC's:\n%1\nChoose its port under "
                          "Action > Port.")
        .arg(labels.join(QLatin1Char('\n')));
}
