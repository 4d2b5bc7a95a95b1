#include "app/mainwindow.h"

#include "mavlink/messageset.h"
#include "pages/accelpage.h"
#include "pages/fctestpage.h"

// The FC reports its pre-arm checks as errors and walks the accelerometer
// calibration in notices.
void MainWindow::TextMessageReceived(int uasid, int componentid, int severity, QString text)
{
    Q_UNUSED(uasid)
    Q_UNUSED(componentid)
    if (severity == MavSeverity::Notice)
        accel->accelTextReceived(text);
    else if (severity == MavSeverity::Error)
        fcTest->selfTestTextReceived(text);
}
