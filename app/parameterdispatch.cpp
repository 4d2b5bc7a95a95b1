#include "app/mainwindow.h"

#include "fc/fcconventions.h"
#include "pages/reportedvalue.h"
#include "pages/tabpage.h"

#include <QDebug>

#include <cmath>

// Every value the FC reports lands here, whether it answers a read, echoes a
// write or comes unasked, and goes on to every page. A NaN or an infinity
// would poison page state and spin boxes alike, so it is only logged.
void MainWindow::parameterChanged(QString &name, QVariant value)
{
    if (std::isfinite(value.toDouble()))
        applyParameter(name, value);
    qDebug() << name << "::" << value;
}

void MainWindow::applyParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String(Fc::kFirmwareVersionParam))
        firmwareVersionReported(roundedInt(value));
    for (TabPage *page : qAsConst(tabPages))
        page->showParameter(name, value);
}

// Only the firmware this assistant was made for keeps the link.
void MainWindow::firmwareVersionReported(int version)
{
    firmwareVersion = version;
    if (version == Fc::kSupportedFirmware)
        showEightRotorFrames();
    else
        closeSerialPort();
}
