#pragma once

#include "pages/tabpage.h"

#include <QList>

#include <array>

class CatchUpOnShow;
class MavLinkBridge;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTextEdit;

// The Radio Controller tab over the form's widgets: the receiver type, the
// live sticks and switches, and the two-click calibration of every
// channel's travel.
class RadioPage : public TabPage
{
    Q_OBJECT

public:
    // Channel 6 has no widget; the others are shown in channel order.
    static constexpr int kShownChannels = 7;

    struct Widgets
    {
        std::array<QSlider *, kShownChannels> sliders;
        std::array<QLabel *, kShownChannels> numbers;
        // Stabilize, failsafe 1, IOC, failsafe 2, GPS.
        std::array<QLabel *, 5> flightModes;
        QLabel *returnOff;
        QLabel *returnOn;
        QLabel *soft;
        QLabel *sport;
        QRadioButton *pwm;
        QRadioButton *ppm;
        QRadioButton *sbus;
        QPushButton *read;
        QPushButton *calibrate;
        QTextEdit *help;
    };

    RadioPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);

    QStringList shownParameters() const override;
    void showParameter(const QString &name, const QVariant &value) override;

public slots:
    // Runs for every RC-channels message, also while a calibration box is open.
    void updateRadioValue(unsigned short *rcinput);
    void radioReadButtonClicked();
    void radioPWMClicked();
    void radioPPMClicked();
    void radioSBUSClicked();
    void radioCalibrateButtonClicked();

private:
    void showReceiverType(int type);
    void showLiveValues();
    void showChannelValues();
    void showSwitchPositions();
    // The channel values as the FC sent them, whole numbers from 0 to 65535.
    int liveValue(int position) const { return int(rcLiveValues[position]); }
    void paintLiveWidgetsCheaply();
    void startRadioCalibration();
    void finishRadioCalibration();

    Widgets form;
    CatchUpOnShow *liveView;
    QList<double> rcLiveValues;
    QList<double> rcMinValues;
    QList<double> rcMaxValues;
    bool rcCalibrating = false;
};
