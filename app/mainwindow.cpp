#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/allparametersaction.h"
#include "app/autoconnectaction.h"
#include "app/historyaction.h"
#include "app/linkportlabel.h"
#include "app/portmenu.h"
#include "app/recordingaction.h"
#include "app/savereports.h"
#include "app/settingsdialog.h"
#include "app/transferactions.h"
#include "pages/accelpage.h"
#include "pages/advancedpage.h"
#include "pages/fctestpage.h"
#include "pages/framepage.h"
#include "pages/gainpage.h"
#include "pages/radiopage.h"
#include "pages/voltagepage.h"
#include "session/fcsession.h"

#include <QMessageBox>

namespace {
const char kMakerWebAddress[] = "https://www.zefa-robotics.com";
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), session(new FcSession(this)), bridge(&session->bridge()),
      ui(new Ui::MainWindow), settingsDialog(nullptr)
{
    ui->setupUi(this);
    settingsDialog = new SettingsDialog(nullptr);
    ui->actionQuit->setEnabled(true);

    initActionsConnections();
    saves = new SaveReports(*bridge, session->writeTurns(), *ui->statusBar, *this);
    transfers =
        new TransferActions(*session, *ui->actionBackUpSettings, *ui->actionRestoreSettings, *this);
    recording =
        new RecordingAction(session->link(), *ui->actionRecordSession, *ui->statusBar, *this);
    allParameters = new AllParametersAction(*session, *ui->actionAllParameters, *this);
    portMenu = new PortMenu(*ui->menuPort, *ui->actionPortAutomatic, *ui->actionPortOther, *this);
    ui->statusBar->addPermanentWidget(new LinkPortLabel(session->link()));
    history = new HistoryAction(*session, *ui->actionHistory, *this);
    showLinkOpen(false);

    initFramePage();
    initRadioPage();
    initVoltagePage();
    initAccelPage();
    initFcTestPage();
    initPidPage();
    initAdvancedPage();

    // The port reports errors from inside its writes too, the close
    // sequence's and those that answer a frame.
    connect(&session->link(), &FcLink::deviceLost, this, &MainWindow::reportDeviceLoss,
            Qt::QueuedConnection);
    connect(session, &FcSession::unsupportedFirmwareReported, this, &MainWindow::closeSerialPort);
    connect(session, &FcSession::calibrationTextReceived, accel, &AccelPage::accelTextReceived);
    connect(session, &FcSession::selfTestTextReceived, fcTest, &FcTestPage::selfTestTextReceived);

    // Queued: a failed open's box must not start inside the watch's poll;
    // by then a click on Connect may have opened the link. Last, so an FC
    // already plugged in meets a finished window.
    autoConnect = new AutoConnectAction(session->link(), *ui->actionAutoConnect, *this);
    connect(portMenu, &PortMenu::choiceChanged, &autoConnect->watch(), &PortWatch::targetChanged);
    connect(
        &autoConnect->watch(), &PortWatch::portAppeared, this,
        [this] {
            if (!session->isOpen())
                openSerialPort();
        },
        Qt::QueuedConnection);
}

// Closing the window sends nothing to the FC: the port simply closes with
// its QSerialPort child.
MainWindow::~MainWindow()
{
    delete recording; // ends a recording while its link still exists
    delete settingsDialog;
    delete ui;
}

void MainWindow::startRecording(const QString &path)
{
    recording->start(path);
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

void MainWindow::initRadioPage()
{
    radio =
        new RadioPage({{ui->radioSlider0, ui->radioSlider1, ui->radioSlider2, ui->radioSlider3,
                        ui->radioSlider4, ui->radioSlider5, ui->radioSlider6},
                       {ui->rcdataLabel0, ui->rcdataLabel1, ui->rcdataLabel2, ui->rcdataLabel3,
                        ui->rcdataLabel4, ui->rcdataLabel5, ui->rcdataLabel6},
                       {ui->rcModeStab, ui->rcModeFS1, ui->rcModeIOC, ui->rcModeFS2, ui->rcModeGPS},
                       ui->rcRTLoff,
                       ui->rcRTLon,
                       ui->rcSoft,
                       ui->rcSport,
                       ui->radioRcTypePWM,
                       ui->radioRcTypePPM,
                       ui->radioRcTypeSBUS,
                       ui->radioReadButton,
                       ui->radioCalibrateButton,
                       ui->rcHelp},
                      *bridge, this);
    addTabPage(radio);
}

void MainWindow::initVoltagePage()
{
    addTabPage(new VoltagePage({ui->voltageLanding, ui->voltageWarning, ui->voltageLevel1,
                                ui->voltageLevel2, ui->voltageEdit0, ui->voltageEdit1,
                                ui->voltageReadButton, ui->voltageSaveButton,
                                ui->voltageCalibrateButton, ui->voltageHelp},
                               *bridge, this));
}

void MainWindow::initAccelPage()
{
    accel = new AccelPage({ui->accelCalibrateButton, ui->coutdownLabel, ui->outputLabel,
                           ui->accelImage, ui->accelHelp},
                          *bridge, this);
    addTabPage(accel);
}

void MainWindow::initFcTestPage()
{
    fcTest = new FcTestPage({ui->fcTestButton, ui->fcRoll, ui->fcPitch, ui->fcYaw,
                             ui->fcAccelResult, ui->fcCompassResult, ui->fcRCResult,
                             ui->fcBaroResult, ui->fcGPSResult, ui->fcHardwareResult, ui->fcHelp},
                            *bridge, this);
    addTabPage(fcTest);
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
    connect(page, &TabPage::saveRequested, saves, &SaveReports::save);
}

void MainWindow::about()
{
    QMessageBox::about(this, tr("About ZEFA GCS"),
                       tr("Please visit ") + QString::fromLatin1(kMakerWebAddress));
}
