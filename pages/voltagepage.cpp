#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "fc/fcconventions.h"

#include "mavlink/mavlinkbridge.h"

#include <QDebug>
#include <QLocale>

#include <cmath>
#include <initializer_list>

namespace {
constexpr int kFailsafeLand = 1;
constexpr int kFailsafeAlarmOnly = 0;
// A reading at or below this is a dead or missing battery, not a measurement.
constexpr float kMinCalibrationVolts = 1.0f;

void requestParameters(MavLinkBridge *bridge, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        bridge->requestParameter(Fc::kComponent, QString::fromLatin1(name));
}

// The meter reading is typed with a dot whatever the user's locale; anything
// else, a decimal comma or a grouped number included, reads as 0.
float parseDotDecimal(const QString &text)
{
    QLocale dotDecimal = QLocale::c();
    dotDecimal.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const float value = dotDecimal.toFloat(text, &ok);
    return ok ? value : 0.0f;
}
} // namespace

void MainWindow::initVoltagePage()
{
    connect(bridge, &MavLinkBridge::setBatt, this, &MainWindow::setBatt);
    connect(ui->voltageLanding, &QRadioButton::clicked, this, &MainWindow::failSafeLandingClicked);
    connect(ui->voltageWarning, &QRadioButton::clicked, this, &MainWindow::failSafeWarningClicked);
    connect(ui->voltageCalibrateButton, &QPushButton::clicked, this,
            &MainWindow::voltageCalibrateButtonClicked);
    connect(ui->voltageSaveButton, &QPushButton::clicked, this,
            &MainWindow::voltageSaveButtonClicked);
    connect(ui->voltageReadButton, &QPushButton::clicked, this,
            &MainWindow::voltageReadButtonClicked);

    // No port is open yet, so the bridge drops these.
    requestParameters(bridge,
                      {"FRAME", "SHAPE", "ZEFAVERSION", "ATC_RATE_FF_ENAB", "FS_BATT_ENABLE",
                       "FS_BATT_VOLTAGE", "FS_BATT_WARNING", "BATT_VOLT_MULT"});
    bridge->requestExtendedStatusStream(1);
    bridge->requestExtra1Stream(1);
    bridge->requestExtra2Stream(1);
    bridge->requestExtra3Stream(1);

    for (QDoubleSpinBox *box : {ui->voltageLevel1, ui->voltageLevel2})
        enteredValues.watch(box);

    ui->voltageHelp->setPlainText(tr("1.Battery failsafe setting\n\n\n") +
                                  tr("2.Battery Voltage Calibrate"));
}

void MainWindow::setBatt(float voltage)
{
    batteryVoltage = voltage;
    batteryVoltageKnown = true;
    ui->voltageEdit0->setValue(double(voltage));
    qDebug() << "V:" << voltage;
}

void MainWindow::failSafeLandingClicked()
{
    saveToFc(tr("Low voltage fail safe"), {{QStringLiteral("FS_BATT_ENABLE"), kFailsafeLand}});
}

void MainWindow::failSafeWarningClicked()
{
    saveToFc(tr("Low voltage fail safe"), {{QStringLiteral("FS_BATT_ENABLE"), kFailsafeAlarmOnly}});
}

// A level of 0 turns the low-battery failsafe off, so the start-up zeros
// are never written.
void MainWindow::voltageSaveButtonClicked()
{
    if (!enteredValues.allKnown({ui->voltageLevel1, ui->voltageLevel2}))
        return;
    const float secondAlarm = float(ui->voltageLevel2->value());
    const float firstAlarm = float(ui->voltageLevel1->value());
    saveToFc(tr("Alarm voltage"), {{QStringLiteral("FS_BATT_VOLTAGE"), secondAlarm},
                                   {QStringLiteral("FS_BATT_WARNING"), firstAlarm}});
}

void MainWindow::voltageReadButtonClicked()
{
    requestParameters(bridge,
                      {"FS_BATT_VOLTAGE", "FS_BATT_WARNING", "FS_BATT_ENABLE", "BATT_VOLT_MULT"});
    // The status stream carries the battery voltage.
    bridge->requestExtendedStatusStream(1);
}

// Scales the FC's multiplier by meter / reported. The page keeps the old
// multiplier until the FC reports the new one, so repeated presses all start
// from the same value.
void MainWindow::voltageCalibrateButtonClicked()
{
    if (!batteryVoltageKnown || !voltageMultiplierKnown)
        return;
    const float measured = parseDotDecimal(ui->voltageEdit1->text());
    const float reported = batteryVoltage;
    if (!(std::fabs(reported) > kMinCalibrationVolts) ||
        !(std::fabs(measured) > kMinCalibrationVolts))
        return;
    const float multiplier = measured / reported * voltageMultiplier;
    // A garbage multiplier from the FC must not be written back scaled.
    if (!std::isfinite(multiplier))
        return;
    saveToFc(tr("Voltage calibration"), {{QStringLiteral("BATT_VOLT_MULT"), multiplier}});
}
