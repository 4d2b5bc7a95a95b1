#pragma once

#include "pages/knownvalues.h"
#include "pages/tabpage.h"

#include <QByteArray>

class CatchUpOnShow;
class MavLinkBridge;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class QTextEdit;

// The Voltage tab over the form's widgets: the low-battery failsafe, its two
// alarm levels, and the calibration of the FC's voltage reading against a
// meter.
class VoltagePage : public TabPage
{
    Q_OBJECT

public:
    struct Widgets
    {
        QRadioButton *landing;
        QRadioButton *warning;
        QDoubleSpinBox *firstAlarm;
        QDoubleSpinBox *secondAlarm;
        QDoubleSpinBox *reportedVoltage;
        QDoubleSpinBox *meterReading;
        QPushButton *read;
        QPushButton *save;
        QPushButton *calibrate;
        QTextEdit *help;
    };

    VoltagePage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);

    QStringList shownParameters() const override;
    void showParameter(const QString &name, const QVariant &value) override;

public slots:
    void setBatt(float voltage);
    void failSafeLandingClicked();
    void failSafeWarningClicked();
    void voltageSaveButtonClicked();
    void voltageReadButtonClicked();
    void voltageCalibrateButtonClicked();

private:
    void showBatteryVoltage();
    const QByteArray &voltageLine(float voltage);

    Widgets form;
    CatchUpOnShow *batteryView;
    // Unknown until the FC has reported them since start-up.
    float batteryVoltage = 0.0f;
    float voltageMultiplier = 0.0f;
    bool batteryVoltageKnown = false;
    bool voltageMultiplierKnown = false;
    QByteArray lastVoltageLine;
    float lastPrintedVoltage = 0.0f;
    // Alarm levels: Save writes only values somebody set.
    KnownValues entered;
};
