#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "fc/fcconventions.h"

#include "mavlink/mavlinkbridge.h"

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
    bridge->requestParameter(Fc::kComponent, QStringLiteral("ATC_RATE_FF_ENAB"));
}

// The channel option goes first: the FC's answer to the feed-forward write
// then arrives last and decides the mark.
void MainWindow::advSoftSelected()
{
    writeFlyFeeling(Fc::kFeelSoft);
}

void MainWindow::advSportSelected()
{
    writeFlyFeeling(Fc::kFeelSport);
}

void MainWindow::writeFlyFeeling(int feedForward)
{
    saveToFc(tr("Fly feeling"), {{QStringLiteral("CH8_OPT"), Fc::kChannelOptionNone},
                                 {QStringLiteral("ATC_RATE_FF_ENAB"), feedForward}});
}

void MainWindow::advByRCSelected()
{
    saveToFc(tr("Fly feeling"), {{QStringLiteral("CH8_OPT"), Fc::kChannelOptionFeel}});
}

void MainWindow::advRTHRead()
{
    bridge->requestParameter(Fc::kComponent, QStringLiteral("RTL_ALT"));
}

// The box reads 0 until the FC has reported an altitude; saving that would
// overwrite the FC's value with one nobody chose, so 0 is never written.
void MainWindow::advRTHSave()
{
    const int metres = ui->advRTHalt->value();
    if (metres <= 0)
        return;
    const float centimetres = float(metres) * Fc::kCentimetresPerMetre;
    saveToFc(tr("Return to home altitude"), {{QStringLiteral("RTL_ALT"), centimetres}});
}
