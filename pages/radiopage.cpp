#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "fc/fcconventions.h"
#include "pages/livewidgets.h"

#include "mavlink/mavlinkbridge.h"

#include <array>
#include <iterator>

namespace {

constexpr int kRadioChannels = 8;
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
const char kReceiverTypeParam[] = "RC_TYPE";

const QString kActiveStyle =
    QStringLiteral("background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);");
const QString kInactiveStyle =
    QStringLiteral("background-color: rgb(0, 0, 0);color: rgb(255, 255, 255);");

// Restyling is what costs at the stream rate; the look is the same either way.
void markLabel(QLabel *label, bool active)
{
    const QString &style = active ? kActiveStyle : kInactiveStyle;
    if (label->styleSheet() != style)
        label->setStyleSheet(style);
}

int flightModeBand(unsigned short value)
{
    int band = 0;
    while (band < int(std::size(kModeBandTops)) && value > kModeBandTops[band])
        ++band;
    return band;
}

struct ChannelWidgets
{
    int position;
    QSlider *slider;
    QLabel *number;
};

// Channel 6 has no widget; it only feeds the lists.
std::array<ChannelWidgets, 7> shownChannels(Ui::MainWindow *ui)
{
    return {{{0, ui->radioSlider0, ui->rcdataLabel0},
             {1, ui->radioSlider1, ui->rcdataLabel1},
             {2, ui->radioSlider2, ui->rcdataLabel2},
             {3, ui->radioSlider3, ui->rcdataLabel3},
             {4, ui->radioSlider4, ui->rcdataLabel4},
             {6, ui->radioSlider5, ui->rcdataLabel5},
             {7, ui->radioSlider6, ui->rcdataLabel6}}};
}

void showChannelValues(Ui::MainWindow *ui, const unsigned short *rcinput)
{
    const auto shown = shownChannels(ui);
    for (const auto &channel : shown)
        channel.slider->setValue(rcinput[channel.position]);
    for (const auto &channel : shown)
        channel.number->setText(QString::number(rcinput[channel.position]));
}

// They change at the stream's rate; see livewidgets.h.
void paintLiveWidgetsCheaply(Ui::MainWindow *ui)
{
    for (const auto &channel : shownChannels(ui)) {
        SliderBand::install(channel.slider);
        CapturedBackdrop::install(channel.slider);
        // A number over its own slider's handle would keep a stale copy of it.
        if (!channel.number->geometry().intersects(channel.slider->geometry()))
            CapturedBackdrop::install(channel.number);
    }
}

void showSwitchPositions(Ui::MainWindow *ui, const unsigned short *rcinput)
{
    const int band = flightModeBand(rcinput[kFlightModeChannel]);
    QLabel *const modes[] = {ui->rcModeStab, ui->rcModeFS1, ui->rcModeIOC, ui->rcModeFS2,
                             ui->rcModeGPS};
    for (int i = 0; i < int(std::size(modes)); ++i)
        markLabel(modes[i], i == band);

    const bool returning = rcinput[kReturnHomeChannel] > kSwitchMidpoint;
    markLabel(ui->rcRTLoff, !returning);
    markLabel(ui->rcRTLon, returning);

    const bool sport = rcinput[kFlightFeelChannel] > kSwitchMidpoint;
    markLabel(ui->rcSoft, !sport);
    markLabel(ui->rcSport, sport);
}

PageSaves::Values receiverType(int type)
{
    return {{QString::fromLatin1(kReceiverTypeParam), type}};
}

} // namespace

void MainWindow::initRadioPage()
{
    connect(ui->radioCalibrateButton, &QPushButton::clicked, this,
            &MainWindow::radioCalibrateButtonClicked);
    connect(ui->radioReadButton, &QPushButton::clicked, this, &MainWindow::radioReadButtonClicked);
    connect(ui->radioRcTypePWM, &QRadioButton::clicked, this, &MainWindow::radioPWMClicked);
    connect(ui->radioRcTypePPM, &QRadioButton::clicked, this, &MainWindow::radioPPMClicked);
    connect(ui->radioRcTypeSBUS, &QRadioButton::clicked, this, &MainWindow::radioSBUSClicked);
    connect(bridge, &MavLinkBridge::setRadioInput, this, &MainWindow::updateRadioValue);

    paintLiveWidgetsCheaply(ui);
    for (int i = 0; i < kRadioChannels; ++i) {
        rcLiveValues << 0.0;
        rcMinValues << 0.0;
        rcMaxValues << 0.0;
    }

    ui->rcHelp->setPlainText(
        tr("1.Select the correspond-ent type of receiver.  ZEFA flight controller support three "
           "different types of receivers: PWM, PPM and SBUS.\n\n2.In the first time of using, you "
           "need to calibrate the receiver.  Click the button 'Read' and then 'Calibrate', move "
           "the joystick and the control switch between the maximum and the minimum position, "
           "then click button 'calibration completed' and finish the calibration.\n\n3.Channel "
           "1-6 correspond-ent to aileron, going up and down, throttle, rudder, flight mode and "
           "return home. Channel 5 should be three bands switch, channel 6 must be two bands "
           "switch.If you use PPM or Sbus,you can use channel 7 to control flight feeling "));
}

void MainWindow::radioPWMClicked()
{
    saveToFc(tr("Receiver type"), receiverType(kReceiverPwm));
}

void MainWindow::radioPPMClicked()
{
    saveToFc(tr("Receiver type"), receiverType(kReceiverPpm));
}

void MainWindow::radioSBUSClicked()
{
    saveToFc(tr("Receiver type"), receiverType(kReceiverSbus));
}

void MainWindow::radioReadButtonClicked()
{
    bridge->requestRcChannelsStream(kRcChannelsRate);
    bridge->requestParameter(Fc::kComponent, QString::fromLatin1(kReceiverTypeParam));
}

// Any other value is not a receiver the FC knows; the buttons stay as they are.
void MainWindow::showReceiverType(int type)
{
    if (type == kReceiverPwm)
        ui->radioRcTypePWM->setChecked(true);
    if (type == kReceiverPpm)
        ui->radioRcTypePPM->setChecked(true);
    if (type == kReceiverSbus)
        ui->radioRcTypeSBUS->setChecked(true);
}

// Runs for every RC-channels message, also while a calibration box is open.
void MainWindow::updateRadioValue(unsigned short *rcinput)
{
    showChannelValues(ui, rcinput);
    for (int i = 0; i < kRadioChannels; ++i) {
        const double value = rcinput[i];
        rcLiveValues[i] = value;
        if (!rcCalibrating)
            continue;
        if (rcMinValues[i] > value)
            rcMinValues[i] = value;
        if (value > rcMaxValues[i])
            rcMaxValues[i] = value;
    }
    showSwitchPositions(ui, rcinput);
}
