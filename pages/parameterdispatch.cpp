#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "fc/fcconventions.h"

#include <QDebug>

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The int a value beyond int's range saturates to: converting it directly is
// undefined, and so is QVariant::toInt() on such a float.
std::optional<int> saturated(double value)
{
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return std::nullopt;
}

// QVariant::toInt() rounding for every value the FC can send.
int roundedInt(const QVariant &value)
{
    if (const std::optional<int> bound = saturated(value.toDouble()))
        return *bound;
    return value.toInt();
}

int truncatedInt(float value)
{
    if (const std::optional<int> bound = saturated(double(value)))
        return *bound;
    return static_cast<int>(value);
}

double gainFromRate(const QVariant &value, double rateScale)
{
    return double(value.toFloat()) * Fc::kDefaultGain / rateScale;
}
} // namespace

// Every value the FC reports lands here, whether it answers a read, echoes a
// write or comes unasked; the pages only send. A NaN or an infinity would
// poison members and spin boxes alike, so it is only logged.
void MainWindow::parameterChanged(QString &name, QVariant value)
{
    if (std::isfinite(value.toDouble()))
        applyParameter(name, value);
    qDebug() << name << "::" << value;
}

void MainWindow::applyParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String("FRAME")) {
        frameValue = roundedInt(value);
        frameValueKnown = true;
        showFrameSelection();
    }
    if (name == QLatin1String("SHAPE")) {
        shapeValue = roundedInt(value);
        shapeValueKnown = true;
        showFrameSelection();
    }
    if (name == QLatin1String("ZEFAVERSION"))
        firmwareVersionReported(roundedInt(value));
    if (name == QLatin1String("RC_TYPE"))
        showReceiverType(roundedInt(value));
    if (name == QLatin1String("BATT_VOLT_MULT")) {
        voltageMultiplier = value.toFloat();
        voltageMultiplierKnown = true;
    }
    // Any non-zero setting means landing, whatever its sign or size.
    if (name == QLatin1String("FS_BATT_ENABLE")) {
        if (roundedInt(value) != 0)
            ui->voltageLanding->setChecked(true);
        else
            ui->voltageWarning->setChecked(true);
    }
    if (name == QLatin1String("FS_BATT_WARNING"))
        showReportedValue(ui->voltageLevel1, value.toFloat());
    if (name == QLatin1String("FS_BATT_VOLTAGE"))
        showReportedValue(ui->voltageLevel2, value.toFloat());
    if (name == QLatin1String("RATE_RLL_D"))
        showReportedValue(ui->pidRoll, gainFromRate(value, Fc::kRateDScale));
    if (name == QLatin1String("RATE_PIT_D"))
        showReportedValue(ui->pidPitch, gainFromRate(value, Fc::kRateDScale));
    if (name == QLatin1String("RATE_YAW_P"))
        showReportedValue(ui->pidYaw, gainFromRate(value, Fc::kYawPScale));
    if (name == QLatin1String("ATC_RATE_FF_ENAB")) {
        const int feel = roundedInt(value);
        if (feel == Fc::kFeelSoft)
            showFlyFeeling(ui->advSoftButton, ui->advSoftLabel);
        else if (feel == Fc::kFeelSport)
            showFlyFeeling(ui->advSportButton, ui->advSportLabel);
    }
    if (name == QLatin1String("CH8_OPT") && roundedInt(value) == Fc::kChannelOptionFeel)
        showFlyFeeling(ui->advByRCButton, ui->advByRCLabel);
    if (name == QLatin1String("RTL_ALT"))
        ui->advRTHalt->setValue(truncatedInt(value.toFloat() / Fc::kCentimetresPerMetre));
}

// A reported value counts as known even when it equals what the box
// already shows.
void MainWindow::showReportedValue(QDoubleSpinBox *box, double value)
{
    box->setValue(value);
    enteredValues.markKnown(box);
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

// The three marks always change together: one "Selected", two empty.
void MainWindow::showFlyFeeling(QRadioButton *button, QLabel *mark)
{
    button->setChecked(true);
    for (QLabel *label : {ui->advSoftLabel, ui->advSportLabel, ui->advByRCLabel})
        label->setText(label == mark ? tr("Selected") : QString());
}
