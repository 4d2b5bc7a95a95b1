#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"

namespace {
constexpr std::uint8_t kComponent = 1;
constexpr int kFeelOff = 0;
constexpr int kFeelOn = 1;
constexpr int kChannelOptionNone = 0;
constexpr int kChannelOptionFeel = 25;
constexpr float kCentimetresPerMetre = 100.0f;
} // namespace

// The marks beside the buttons are left to the FC's reports, so the slots
// here only write.
void MainWindow::initAdvancedPage()
{
    connect(ui->advSoftButton, &QRadioButton::clicked, this, &MainWindow::advSoftSelected);
    connect(ui->advSportButton, &QRadioButton::clicked, this, &MainWindow::advSportSelected);
    connect(ui->advByRCButton, &QRadioButton::clicked, this, &MainWindow::advByRCSelected);
    connect(ui->advRTHReadButton, &QPushButton::clicked, this, &MainWindow::advRTHRead);
    connect(ui->advRTHSaveButton, &QPushButton::clicked, this, &MainWindow::advRTHSave);
}

void MainWindow::advFFRead()
{
    bridge->requestAllStreams(1);
    bridge->requestRcChannelsStream(1);
    bridge->requestParameter(kComponent, QStringLiteral("ATC_RATE_FF_ENAB"));
}

// The channel option goes first: the FC's answer to the feed-forward write
// then arrives last and decides the mark.
void MainWindow::advSoftSelected()
{
    writeFlyFeeling(kFeelOff);
}

void MainWindow::advSportSelected()
{
    writeFlyFeeling(kFeelOn);
}

void MainWindow::writeFlyFeeling(int feedForward)
{
    bridge->setParameter(kComponent, QStringLiteral("CH8_OPT"), kChannelOptionNone);
    bridge->setParameter(kComponent, QStringLiteral("ATC_RATE_FF_ENAB"), feedForward);
}

void MainWindow::advByRCSelected()
{
    bridge->setParameter(kComponent, QStringLiteral("CH8_OPT"), kChannelOptionFeel);
}

void MainWindow::advRTHRead()
{
    bridge->requestParameter(kComponent, QStringLiteral("RTL_ALT"));
}

// The box reads 0 until the FC has reported an altitude; saving that would
// overwrite the FC's value with one nobody chose, so 0 is never written.
void MainWindow::advRTHSave()
{
    const int metres = ui->advRTHalt->value();
    if (metres <= 0)
        return;
    const float centimetres = float(metres) * kCentimetresPerMetre;
    bridge->setParameter(kComponent, QStringLiteral("RTL_ALT"), centimetres);
}
