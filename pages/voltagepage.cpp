#include "pages/voltagepage.h"

#include "fc/fcconventions.h"
#include "fc/units.h"
#include "mavlink/mavlinkbridge.h"
#include "pages/catchuponshow.h"
#include "pages/reportedvalue.h"
#include "pages/setifchanged.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <cmath>

namespace {
constexpr int kFailsafeLand = 1;
constexpr int kFailsafeAlarmOnly = 0;
// A reading at or below this is a dead or missing battery, not a measurement.
constexpr float kMinCalibrationVolts = 1.0f;

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

VoltagePage::VoltagePage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets),
      batteryView(new CatchUpOnShow(form.reportedVoltage, [this] { showBatteryVoltage(); }))
{
    connect(&mavlink, &MavLinkBridge::setBatt, this, &VoltagePage::setBatt);
    connect(form.landing, &QRadioButton::clicked, this, &VoltagePage::failSafeLandingClicked);
    connect(form.warning, &QRadioButton::clicked, this, &VoltagePage::failSafeWarningClicked);
    connect(form.calibrate, &QPushButton::clicked, this,
            &VoltagePage::voltageCalibrateButtonClicked);
    connect(form.save, &QPushButton::clicked, this, &VoltagePage::voltageSaveButtonClicked);
    connect(form.read, &QPushButton::clicked, this, &VoltagePage::voltageReadButtonClicked);

    // No port is open yet, so the bridge drops these.
    requestParameters({Fc::kFrameParam, Fc::kShapeParam, Fc::kFirmwareVersionParam,
                       Fc::kFeedForwardParam, Fc::kBatteryFailsafeParam,
                       Fc::kBatteryFailsafeVoltageParam, Fc::kBatteryWarningParam,
                       Fc::kVoltageMultiplierParam});
    mavlink.requestExtendedStatusStream(1);
    mavlink.requestExtra1Stream(1);
    mavlink.requestExtra2Stream(1);
    mavlink.requestExtra3Stream(1);

    for (QDoubleSpinBox *box : {form.firstAlarm, form.secondAlarm})
        entered.watch(box);

    form.help->setPlainText(tr("1.Battery failsafe setting\n\n\n") +
                            tr("2.Battery Voltage Calibrate"));
}

QStringList VoltagePage::shownParameters() const
{
    return {QString::fromLatin1(Fc::kVoltageMultiplierParam),
            QString::fromLatin1(Fc::kBatteryFailsafeParam),
            QString::fromLatin1(Fc::kBatteryWarningParam),
            QString::fromLatin1(Fc::kBatteryFailsafeVoltageParam)};
}

void VoltagePage::showParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String(Fc::kVoltageMultiplierParam)) {
        voltageMultiplier = value.toFloat();
        voltageMultiplierKnown = true;
    }
    // Any non-zero setting means landing, whatever its sign or size.
    if (name == QLatin1String(Fc::kBatteryFailsafeParam)) {
        if (roundedInt(value) != 0)
            form.landing->setChecked(true);
        else
            form.warning->setChecked(true);
    }
    if (name == QLatin1String(Fc::kBatteryWarningParam))
        entered.showReported(form.firstAlarm, value.toFloat());
    if (name == QLatin1String(Fc::kBatteryFailsafeVoltageParam))
        entered.showReported(form.secondAlarm, value.toFloat());
}

void VoltagePage::setBatt(float voltage)
{
    batteryVoltage = voltage;
    batteryVoltageKnown = true;
    batteryView->valuesChanged();
    qDebug("%s", voltageLine(voltage).constData());
}

// The text qDebug() << "V:" << voltage gives, without the text stream that
// builds for every line, and formatted again only when the reading changes:
// this runs for every battery report.
const QByteArray &VoltagePage::voltageLine(float voltage)
{
    if (lastVoltageLine.isEmpty() || voltage != lastPrintedVoltage) {
        lastVoltageLine = "V: " + QByteArray::number(double(voltage), 'g', 6);
        lastPrintedVoltage = voltage;
    }
    return lastVoltageLine;
}

// Compared as the box keeps it, rounded to its decimals and within its range.
void VoltagePage::showBatteryVoltage()
{
    QDoubleSpinBox *box = form.reportedVoltage;
    const double rounded = QString::number(double(batteryVoltage), 'f', box->decimals()).toDouble();
    setIfChanged(box, &QDoubleSpinBox::value, &QDoubleSpinBox::setValue,
                 qBound(box->minimum(), rounded, box->maximum()));
}

void VoltagePage::failSafeLandingClicked()
{
    emit saveRequested(tr("Low voltage fail safe"),
                       {{QString::fromLatin1(Fc::kBatteryFailsafeParam), kFailsafeLand}});
}

void VoltagePage::failSafeWarningClicked()
{
    emit saveRequested(tr("Low voltage fail safe"),
                       {{QString::fromLatin1(Fc::kBatteryFailsafeParam), kFailsafeAlarmOnly}});
}

// A level of 0 turns the low-battery failsafe off, so the start-up zeros
// are never written.
void VoltagePage::voltageSaveButtonClicked()
{
    if (!entered.allKnown({form.firstAlarm, form.secondAlarm}))
        return;
    const float secondAlarm = float(form.secondAlarm->value());
    const float firstAlarm = float(form.firstAlarm->value());
    emit saveRequested(tr("Alarm voltage"),
                       {{QString::fromLatin1(Fc::kBatteryFailsafeVoltageParam), secondAlarm},
                        {QString::fromLatin1(Fc::kBatteryWarningParam), firstAlarm}});
}

void VoltagePage::voltageReadButtonClicked()
{
    requestParameters({Fc::kBatteryFailsafeVoltageParam, Fc::kBatteryWarningParam,
                       Fc::kBatteryFailsafeParam, Fc::kVoltageMultiplierParam});
    // The status stream carries the battery voltage.
    mavlink.requestExtendedStatusStream(1);
}

// Scales the FC's multiplier by meter / reported. The page keeps the old
// multiplier until the FC reports the new one, so repeated presses all start
// from the same value.
void VoltagePage::voltageCalibrateButtonClicked()
{
    if (!batteryVoltageKnown || !voltageMultiplierKnown)
        return;
    const float measured = parseDotDecimal(form.meterReading->text());
    const float reported = batteryVoltage;
    if (!(std::fabs(reported) > kMinCalibrationVolts) ||
        !(std::fabs(measured) > kMinCalibrationVolts))
        return;
    const float multiplier = Fc::calibratedVoltageMultiplier(measured, reported, voltageMultiplier);
    // A garbage multiplier from the FC must not be written back scaled.
    if (!std::isfinite(multiplier))
        return;
    emit saveRequested(tr("Voltage calibration"),
                       {{QString::fromLatin1(Fc::kVoltageMultiplierParam), multiplier}});
}
