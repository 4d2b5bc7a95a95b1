#include "pages/radiopage.h"

#include "fc/fcconventions.h"
#include "mavlink/mavlinkbridge.h"
#include "pages/catchuponshow.h"
#include "pages/livewidgets.h"
#include "pages/reportedvalue.h"
#include "pages/setifchanged.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextEdit>

#include <iterator>

namespace {

// Positions in the FC's channel array of the shown sliders, in their order.
constexpr int kShownPositions[RadioPage::kShownChannels] = {0, 1, 2, 3, 4, 6, 7};
constexpr int kFlightModeChannel = 4; // channel 5
constexpr int kReturnHomeChannel = 6; // channel 7
constexpr int kFlightFeelChannel = 7; // channel 8
constexpr int kSwitchMidpoint = 1500;
// Upper bounds of the first four flight mode bands; above the last is GPS.
constexpr int kModeBandTops[] = {1200, 1400, 1600, 1800};

constexpr int kReceiverPwm = 1;
constexpr int kReceiverPpm = 2;
constexpr int kReceiverSbus = 3;
constexpr int kRcChannelsRate = 2;

const QString kActiveStyle =
    QStringLiteral("background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);");
const QString kInactiveStyle =
    QStringLiteral("background-color: rgb(0, 0, 0);color: rgb(255, 255, 255);");

void markLabel(QLabel *label, bool active)
{
    setIfChanged(label, &QLabel::styleSheet, &QLabel::setStyleSheet,
                 active ? kActiveStyle : kInactiveStyle);
}

int flightModeBand(int value)
{
    int band = 0;
    while (band < int(std::size(kModeBandTops)) && value > kModeBandTops[band])
        ++band;
    return band;
}

PageSaves::Values receiverType(int type)
{
    return {{QString::fromLatin1(Fc::kReceiverTypeParam), type}};
}

} // namespace

RadioPage::RadioPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets),
      liveView(new CatchUpOnShow(form.sliders[0], [this] { showLiveValues(); }))
{
    connect(form.calibrate, &QPushButton::clicked, this, &RadioPage::radioCalibrateButtonClicked);
    connect(form.read, &QPushButton::clicked, this, &RadioPage::radioReadButtonClicked);
    connect(form.pwm, &QRadioButton::clicked, this, &RadioPage::radioPWMClicked);
    connect(form.ppm, &QRadioButton::clicked, this, &RadioPage::radioPPMClicked);
    connect(form.sbus, &QRadioButton::clicked, this, &RadioPage::radioSBUSClicked);
    connect(&mavlink, &MavLinkBridge::setRadioInput, this, &RadioPage::updateRadioValue);

    paintLiveWidgetsCheaply();
    for (int i = 0; i < kMavRcChannels; ++i) {
        rcLiveValues << 0.0;
        rcMinValues << 0.0;
        rcMaxValues << 0.0;
    }

    form.help->setPlainText(
        tr("1.Select the correspond-ent type of receiver.  ZEFA flight controller support three "
           "different types of receivers: PWM, PPM and SBUS.\n\n2.In the first time of using, you "
           "need to calibrate the receiver.  Click the button 'Read' and then 'Calibrate', move "
           "the joystick and the control switch between the maximum and the minimum position, "
           "then click button 'calibration completed' and finish the calibration.\n\n3.Channel "
           "1-6 correspond-ent to aileron, going up and down, throttle, rudder, flight mode and "
           "return home. Channel 5 should be three bands switch, channel 6 must be two bands "
           "switch.If you use PPM or Sbus,you can use channel 7 to control flight feeling "));
}

// They change at the stream's rate; see livewidgets.h.
void RadioPage::paintLiveWidgetsCheaply()
{
    for (int i = 0; i < kShownChannels; ++i) {
        SliderBand::install(form.sliders[i]);
        CapturedBackdrop::install(form.sliders[i]);
        prepareLiveNumber(form.numbers[i]);
        // A number over its own slider's handle would keep a stale copy of it.
        if (!form.numbers[i]->geometry().intersects(form.sliders[i]->geometry()))
            CapturedBackdrop::install(form.numbers[i]);
    }
}

QStringList RadioPage::shownParameters() const
{
    return {QString::fromLatin1(Fc::kReceiverTypeParam)};
}

void RadioPage::showParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String(Fc::kReceiverTypeParam))
        showReceiverType(roundedInt(value));
}

// Any other value is not a receiver the FC knows; the buttons stay as they are.
void RadioPage::showReceiverType(int type)
{
    if (type == kReceiverPwm)
        form.pwm->setChecked(true);
    if (type == kReceiverPpm)
        form.ppm->setChecked(true);
    if (type == kReceiverSbus)
        form.sbus->setChecked(true);
}

void RadioPage::radioPWMClicked()
{
    emit saveRequested(tr("Receiver type"), receiverType(kReceiverPwm));
}

void RadioPage::radioPPMClicked()
{
    emit saveRequested(tr("Receiver type"), receiverType(kReceiverPpm));
}

void RadioPage::radioSBUSClicked()
{
    emit saveRequested(tr("Receiver type"), receiverType(kReceiverSbus));
}

void RadioPage::radioReadButtonClicked()
{
    mavlink.requestRcChannelsStream(kRcChannelsRate);
    mavlink.requestParameter(Fc::kComponent, QString::fromLatin1(Fc::kReceiverTypeParam));
}

void RadioPage::updateRadioValue(unsigned short *rcinput)
{
    for (int i = 0; i < kMavRcChannels; ++i) {
        const double value = rcinput[i];
        rcLiveValues[i] = value;
        if (!rcCalibrating)
            continue;
        if (rcMinValues[i] > value)
            rcMinValues[i] = value;
        if (value > rcMaxValues[i])
            rcMaxValues[i] = value;
    }
    liveView->valuesChanged();
}

void RadioPage::showLiveValues()
{
    showChannelValues();
    showSwitchPositions();
}

// All sliders first, then all numbers.
void RadioPage::showChannelValues()
{
    for (int i = 0; i < kShownChannels; ++i)
        form.sliders[i]->setValue(liveValue(kShownPositions[i]));
    for (int i = 0; i < kShownChannels; ++i)
        setIfChanged(form.numbers[i], &QLabel::text, &QLabel::setText,
                     QString::number(liveValue(kShownPositions[i])));
}

void RadioPage::showSwitchPositions()
{
    const int band = flightModeBand(liveValue(kFlightModeChannel));
    for (int i = 0; i < int(form.flightModes.size()); ++i)
        markLabel(form.flightModes[i], i == band);

    const bool returning = liveValue(kReturnHomeChannel) > kSwitchMidpoint;
    markLabel(form.returnOff, !returning);
    markLabel(form.returnOn, returning);

    const bool sport = liveValue(kFlightFeelChannel) > kSwitchMidpoint;
    markLabel(form.soft, !sport);
    markLabel(form.sport, sport);
}
