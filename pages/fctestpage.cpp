#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "fc/fcconventions.h"

#include "mavlink/mavlinkbridge.h"

namespace {

const char kPassStyle[] = "background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);";
const char kFailStyle[] = "background-color: rgb(255, 0, 0);color: rgb(0, 0, 0);";

struct PreArmRow
{
    const char *key;
    QLabel *Ui::MainWindow::*label;
    const char *verdict;
};

// Tested in order against every error text; a later row on the same label
// overwrites an earlier one. The leading blanks are part of the verdicts.
const PreArmRow kPreArmTable[] = {
    {"RC not calibrated", &Ui::MainWindow::fcRCResult,
     QT_TRANSLATE_NOOP("MainWindow", "need Calibrate")},
    {"Baro not healthy", &Ui::MainWindow::fcBaroResult,
     QT_TRANSLATE_NOOP("MainWindow", "Alarm:Please put FC level,wait a minutes and try again!")},
    {"Compass not healthy", &Ui::MainWindow::fcCompassResult,
     QT_TRANSLATE_NOOP("MainWindow", "not healthy!")},
    {"Compass not calibrated", &Ui::MainWindow::fcCompassResult,
     QT_TRANSLATE_NOOP("MainWindow", " need calibrate")},
    {"Compass offsets too high", &Ui::MainWindow::fcCompassResult,
     QT_TRANSLATE_NOOP("MainWindow", " Interference")},
    {"Check mag field", &Ui::MainWindow::fcCompassResult,
     QT_TRANSLATE_NOOP("MainWindow", "need calibrate")},
    {"INS not calibrated", &Ui::MainWindow::fcAccelResult,
     QT_TRANSLATE_NOOP("MainWindow", " need calibrate!")},
    {"INS not healthy", &Ui::MainWindow::fcAccelResult,
     QT_TRANSLATE_NOOP("MainWindow", " not healthy, please put it level and still")},
    {"GPS Glitch", &Ui::MainWindow::fcGPSResult,
     QT_TRANSLATE_NOOP("MainWindow", "signal not good!")},
    {"Need 3D Fix", &Ui::MainWindow::fcGPSResult, QT_TRANSLATE_NOOP("MainWindow", "No Fix")},
    {"Bad Velocity", &Ui::MainWindow::fcGPSResult,
     QT_TRANSLATE_NOOP("MainWindow", "signal not good!")},
    {"High GPS HDOP", &Ui::MainWindow::fcGPSResult,
     QT_TRANSLATE_NOOP("MainWindow", "signal not good!")},
    {"Thr below FS", &Ui::MainWindow::fcRCResult,
     QT_TRANSLATE_NOOP("MainWindow", "need Calibrated")},
};

bool reports(const QString &text, const char *key)
{
    return text.contains(QLatin1String(key), Qt::CaseSensitive);
}

void fillIfEmpty(QLabel *label, const QString &text)
{
    if (label->text().isEmpty())
        label->setText(text);
}
} // namespace

void MainWindow::initFcTestPage()
{
    connect(bridge, &MavLinkBridge::setATT, this, &MainWindow::attitudeUpdate);
    connect(bridge, &MavLinkBridge::armedUpdate, this, &MainWindow::armedUpdate);
    connect(ui->fcTestButton, &QPushButton::clicked, this, &MainWindow::fcTestButtonClicked);
    ui->fcTestButton->setEnabled(true);
    ui->fcHelp->setPlainText(tr("1.Make sue you have connect the GPS module correctly, and have "
                                "calibrated the radio controller, accelemeter and compass."));
}

// The FC answers with its pre-arm complaints as error texts.
void MainWindow::fcTestButtonClicked()
{
    bridge->requestRawSensorsStream(1);
    bridge->requestExtra1Stream(1);
    bridge->requestExtra2Stream(1);
    bridge->requestExtra3Stream(1);
    bridge->requestPositionStream(1);
    bridge->sendCommandLong(Fc::kPreflightCalibration, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f, 0.0f,
                            Fc::kComponent);
}

void MainWindow::attitudeUpdate(double roll, double pitch, double yaw)
{
    ui->fcRoll->setText(QString::number(roll, 'f', 1));
    ui->fcPitch->setText(QString::number(pitch, 'f', 1));
    ui->fcYaw->setText(QString::number(yaw, 'f', 1));
}

// The armed state is not shown.
void MainWindow::armedUpdate(bool) {}

void MainWindow::selfTestTextReceived(const QString &text)
{
    for (const PreArmRow &row : kPreArmTable) {
        if (reports(text, row.key))
            (ui->*row.label)->setText(tr(row.verdict));
    }
    countPreArmReport(text);
    showSelfTestVerdict();
}

// A health failure of the barometer or the INS fails the test until restart;
// any "PreArm" text shows the checks ran.
void MainWindow::countPreArmReport(const QString &text)
{
    for (const char *failure : {"Baro not healthy", "INS not healthy"}) {
        if (reports(text, failure)) {
            --preArmCount;
            hardwareOk = false;
        }
    }
    if (reports(text, "PreArm"))
        preArmCount = 1;
}

void MainWindow::showSelfTestVerdict()
{
    if (!hardwareOk || preArmCount <= 0) {
        ui->fcHardwareResult->setText(tr("Error!!!!! Please check the hardware and calibrate!"));
        ui->fcHardwareResult->setStyleSheet(QLatin1String(kFailStyle));
        return;
    }
    ui->fcHardwareResult->setText(tr("FC System Hardware OK,Pass! If you can not use it,Please "
                                     "check your radio controller and esc."));
    ui->fcHardwareResult->setStyleSheet(QLatin1String(kPassStyle));
    for (QLabel *label : {ui->fcAccelResult, ui->fcCompassResult, ui->fcRCResult, ui->fcBaroResult})
        fillIfEmpty(label, tr("OK!"));
    fillIfEmpty(ui->fcGPSResult, tr("Please install and put FC to GPS mode to check GPS module"));
}
