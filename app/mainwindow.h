#pragma once

#include "params/pagesaves.h"
#include "params/paramtransfer.h"

#include <QDialog>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QVariant>

class AllParametersWindow;
class FcLink;
class MavLinkBridge;
class SessionRecorder;
struct RecordingSummary;
class SettingsDialog;
class TabPage;
class TransferProgressDialog;
class QTimer;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Runs bytes through the receive path exactly as the link does with
    // bytes read from the port.
    void receiveBytes(const QByteArray &bytes);

public slots:
    // Link to the FC
    void openSerialPort();
    void closeSerialPort();
    void about();
    void writeData(QByteArray data);

    // Status texts and parameter values from the FC
    void TextMessageReceived(int uasid, int componentid, int severity, QString text);
    void parameterChanged(QString &name, QVariant value);

    // Radio
    void updateRadioValue(unsigned short *rcinput);
    void radioReadButtonClicked();
    void radioPWMClicked();
    void radioPPMClicked();
    void radioSBUSClicked();
    void radioCalibrateButtonClicked();

    // Accelerometer
    void accelCalibrateButtonClicked();
    void countdownTimerTick();

    // Self-test
    void fcTestButtonClicked();
    void attitudeUpdate(double roll, double pitch, double yaw);
    void armedUpdate(bool armed);

    // Backup and restore of all settings
    void backUpSettings();
    void restoreSettings();

    // Session recording: the action asks for the file, then starts here.
    void recordSessionToggled(bool checked);
    void startRecording(const QString &path);

private slots:
    void reportDeviceLoss();
    void showTransferProgress(ParamTransfer::Stage stage, int done, int total);
    void confirmRestore(RestorePlan plan);
    void showTransferReport(TransferReport report);
    void showSaveOutcome(const SaveOutcome &outcome);
    void showRecordingStopped(const RecordingSummary &summary);

private:
    // Tests watch the bridge's connections and the link through it.
    friend class GcsHarness;

    void initActionsConnections();
    void initSettingsTransfer();
    void initSessionRecording();
    void showRecording(bool on);
    void initPageSaves();
    void initAllParameters();
    void saveToFc(const QString &what, const PageSaves::Values &values);
    void openTransferProgress(const QString &title);
    bool confirmOtherVehicle(const RestorePlan &plan);
    void initFramePage();
    void initRadioPage();
    void initVoltagePage();
    void initAccelPage();
    void initFcTestPage();
    void initPidPage();
    void initAdvancedPage();
    void addTabPage(TabPage *page);

    void applyParameter(const QString &name, const QVariant &value);
    void firmwareVersionReported(int version);
    void showReceiverType(int type);
    void startRadioCalibration();
    void finishRadioCalibration();
    void showEightRotorFrames();
    void accelTextReceived(const QString &text);
    void startAccelCalibration();
    void enableAccelCalibrationForNewLink();
    void finishAccelFaces();
    void showAccelFacePrompt(const QString &text);
    void endAccelCalibration(const QString &text);
    void selfTestTextReceived(const QString &text);
    void countPreArmReport(const QString &text);
    void showSelfTestVerdict();
    void showLinkOpen(bool open);
    void connectLinkSignals();
    void disconnectLinkSignals();

    MavLinkBridge *bridge;
    Ui::MainWindow *ui;
    SettingsDialog *settingsDialog;
    FcLink *link;
    bool hardwareOk;
    int preArmCount;
    int firmwareVersion = 0;
    QList<double> rcLiveValues;
    QList<double> rcMinValues;
    QList<double> rcMaxValues;
    bool rcCalibrating = false;
    int accelStep = 0;
    int accelCountdown = 0;
    QTimer *countdownTimer = nullptr;
    ParamTransfer *transfer = nullptr;
    PageSaves *pageSaves = nullptr;
    AllParametersWindow *allParameters = nullptr;
    // The tabs with a class of their own.
    QList<TabPage *> tabPages;
    SessionRecorder *recorder = nullptr;
    TransferProgressDialog *transferProgress = nullptr;
    QPointer<QDialog> changeList; // while a restore waits for the user's Write
};
