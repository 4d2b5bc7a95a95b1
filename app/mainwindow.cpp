#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "mavlink/mavlinkbridge.h"
#include "pages/advancedpage.h"
#include "pages/framepage.h"
#include "pages/gainpage.h"
#include "pages/voltagepage.h"
#include "serial/fclink.h"
#include "serial/settingsdialog.h"

#include <QMessageBox>
#include <QTimer>

namespace {
const char kMakerWebAddress[] = "https://www.zefa-robotics.com";
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), bridge(new MavLinkBridge), ui(new Ui::MainWindow),
      settingsDialog(nullptr), link(nullptr), hardwareOk(true), preArmCount(0)
{
    ui->setupUi(this);
    showEightRotorFrames();

    link = new FcLink(*bridge, this);
    settingsDialog = new SettingsDialog(nullptr);

    showLinkOpen(false);
    ui->actionQuit->setEnabled(true);

    initActionsConnections();
    initSettingsTransfer();
    initSessionRecording();
    initPageSaves();
    initAllParameters();

    initFramePage();
    initRadioPage();
    initVoltagePage();
    initAccelPage();
    initFcTestPage();
    initPidPage();
    initAdvancedPage();

    connect(link, &FcLink::deviceLost, this, &MainWindow::reportDeviceLoss);
}

// Closing the window sends nothing to the FC: the port simply closes with
// its QSerialPort child.
MainWindow::~MainWindow()
{
    delete settingsDialog;
    delete ui;
    delete bridge;
    delete countdownTimer;
}

void MainWindow::showEightRotorFrames()
{
    ui->plus8RadioButton->setVisible(true);
    ui->v8RadioButton->setVisible(true);
    ui->x8RadioButton->setVisible(true);
}

void MainWindow::initActionsConnections()
{
    connect(ui->actionConnect, &QAction::triggered, this, &MainWindow::openSerialPort);
    connect(ui->actionDisconnect, &QAction::triggered, this, &MainWindow::closeSerialPort);
    connect(ui->actionQuit, &QAction::triggered, this, &MainWindow::close);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::about);
}

void MainWindow::initFramePage()
{
    addTabPage(new FramePage({ui->x4RadioButton, ui->plus4RadioButton, ui->x6RadioButton,
                              ui->plus6RadioButton, ui->y6aRadioButton, ui->y6bRadioButton,
                              ui->plus8RadioButton, ui->v8RadioButton, ui->x8RadioButton,
                              ui->frameReadButton, ui->frameSaveButton, ui->frameHelp},
                             *bridge, this));
    // The only route by which parameter values from the FC reach the window.
    connect(bridge, &MavLinkBridge::setParam, this, &MainWindow::parameterChanged);
}

void MainWindow::initVoltagePage()
{
    addTabPage(new VoltagePage({ui->voltageLanding, ui->voltageWarning, ui->voltageLevel1,
                                ui->voltageLevel2, ui->voltageEdit0, ui->voltageEdit1,
                                ui->voltageReadButton, ui->voltageSaveButton,
                                ui->voltageCalibrateButton, ui->voltageHelp},
                               *bridge, this));
}

void MainWindow::initPidPage()
{
    addTabPage(new GainPage(
        {ui->pidRoll, ui->pidPitch, ui->pidYaw, ui->pidReadButton, ui->pidSaveButton, ui->pidHelp},
        *bridge, this));
}

void MainWindow::initAdvancedPage()
{
    addTabPage(new AdvancedPage({ui->advSoftButton, ui->advSoftLabel, ui->advSportButton,
                                 ui->advSportLabel, ui->advByRCButton, ui->advByRCLabel,
                                 ui->advRTHalt, ui->advRTHReadButton, ui->advRTHSaveButton},
                                *bridge, this));
}

void MainWindow::addTabPage(TabPage *page)
{
    tabPages << page;
    connect(page, &TabPage::saveRequested, this, &MainWindow::saveToFc);
}

void MainWindow::about()
{
    QMessageBox::about(this, tr("About ZEFA GCS"),
                       tr("Please visit ") + QString::fromLatin1(kMakerWebAddress));
}
