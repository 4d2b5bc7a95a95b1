#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>

namespace {
constexpr int kSupportedFirmware = 20;
constexpr double kRateDScale = 0.012;
constexpr double kYawPScale = 0.3;
constexpr double kDefaultGain = 5.0;
constexpr int kFeelSoft = 0;
constexpr int kFeelSport = 1;
constexpr int kFeelByReceiverChannel = 25;
} // namespace

// Every value the FC reports lands here, whether it answers a read, echoes a
// write or comes unasked; the pages only send.
void MainWindow::parameterChanged(QString &name, QVariant value)
{
    if (name == QLatin1String("FRAME")) {
        frameValue = value.toInt();
        framePairKnown = true;
        showFrameSelection();
    }
    if (name == QLatin1String("SHAPE")) {
        shapeValue = value.toInt();
        framePairKnown = true;
        showFrameSelection();
    }
    if (name == QLatin1String("ZEFAVERSION"))
        firmwareVersionReported(value.toInt());
    if (name == QLatin1String("RC_TYPE"))
        showReceiverType(value.toInt());
    if (name == QLatin1String("BATT_VOLT_MULT")) {
        voltageMultiplier = value.toFloat();
        voltageMultiplierKnown = true;
    }
    if (name == QLatin1String("FS_BATT_ENABLE")) {
        if (value.toUInt() != 0)
            ui->voltageLanding->setChecked(true);
        else
            ui->voltageWarning->setChecked(true);
    }
    if (name == QLatin1String("FS_BATT_WARNING"))
        ui->voltageLevel1->setValue(value.toFloat());
    if (name == QLatin1String("FS_BATT_VOLTAGE"))
        ui->voltageLevel2->setValue(value.toFloat());
    if (name == QLatin1String("RATE_RLL_D"))
        ui->pidRoll->setValue(double(value.toFloat()) * kDefaultGain / kRateDScale);
    if (name == QLatin1String("RATE_PIT_D"))
        ui->pidPitch->setValue(double(value.toFloat()) * kDefaultGain / kRateDScale);
    if (name == QLatin1String("RATE_YAW_P"))
        ui->pidYaw->setValue(double(value.toFloat()) * kDefaultGain / kYawPScale);
    if (name == QLatin1String("ATC_RATE_FF_ENAB")) {
        if (value.toInt() == kFeelSoft)
            showFlyFeeling(ui->advSoftButton, ui->advSoftLabel);
        else if (value.toInt() == kFeelSport)
            showFlyFeeling(ui->advSportButton, ui->advSportLabel);
    }
    if (name == QLatin1String("CH8_OPT") && value.toInt() == kFeelByReceiverChannel)
        showFlyFeeling(ui->advByRCButton, ui->advByRCLabel);
    if (name == QLatin1String("RTL_ALT"))
        ui->advRTHalt->setValue(static_cast<int>(value.toFloat() / 100.0f));
    qDebug() << name << "::" << value;
}

// Only the firmware this assistant was made for keeps the link.
void MainWindow::firmwareVersionReported(int version)
{
    firmwareVersion = version;
    if (version == kSupportedFirmware)
        showEightRotorFrames();
    else
        closeSerialPort();
}

void MainWindow::showReceiverType(int type)
{
    QRadioButton *const buttons[] = {ui->radioRcTypePWM, ui->radioRcTypePPM, ui->radioRcTypeSBUS};
    if (type >= 1 && type <= 3)
        buttons[type - 1]->setChecked(true);
}

// The three marks always change together: one "Selected", two empty.
void MainWindow::showFlyFeeling(QRadioButton *button, QLabel *mark)
{
    button->setChecked(true);
    for (QLabel *label : {ui->advSoftLabel, ui->advSportLabel, ui->advByRCLabel})
        label->setText(label == mark ? tr("Selected") : QString());
}
