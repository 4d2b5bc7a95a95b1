#include "app/mainwindow.h"

#include "pages/accelpage.h"
#include "pages/fctestpage.h"

namespace {
// Severities the FC uses for the two dialogues built on its status texts.
constexpr int kSeverityError = 3;  // pre-arm check reports: self-test
constexpr int kSeverityNotice = 5; // accelerometer calibration prompts
} // namespace

void MainWindow::TextMessageReceived(int uasid, int componentid, int severity, QString text)
{
    Q_UNUSED(uasid)
    Q_UNUSED(componentid)
    if (severity == kSeverityNotice)
        accel->accelTextReceived(text);
    else if (severity == kSeverityError)
        fcTest->selfTestTextReceived(text);
}
