#pragma once

#include "params/pagesaves.h"
#include "params/paramtransfer.h"

#include <QDialog>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QVariant>

class AccelPage;
class AllParametersWindow;
class FcTestPage;
class RadioPage;
class FcLink;
class MavLinkBridge;
class SessionRecorder;
struct RecordingSummary;
class SettingsDialog;
class TabPage;
class TransferProgressDialog;

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

    // The tabs that live on streams and status texts, for whoever feeds
    // them without a line.
    RadioPage &radioPage() const { return *radio; }
    AccelPage &accelPage() const { return *accel; }
    FcTestPage &fcTestPage() const { return *fcTest; }

public slots:
    // Link to the FC
    void openSerialPort();
    void closeSerialPort();
    void about();
    void writeData(QByteArray data);

    // Status texts and parameter values from the FC
    void TextMessageReceived(int uasid, int componentid, int severity, QString text);
    void parameterChanged(QString &name, QVariant value);

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
    void showEightRotorFrames();
    void showLinkOpen(bool open);
    void connectLinkSignals();
    void disconnectLinkSignals();

    MavLinkBridge *bridge;
    Ui::MainWindow *ui;
    SettingsDialog *settingsDialog;
    FcLink *link;
    int firmwareVersion = 0;
    ParamTransfer *transfer = nullptr;
    PageSaves *pageSaves = nullptr;
    AllParametersWindow *allParameters = nullptr;
    // The tabs with a class of their own.
    QList<TabPage *> tabPages;
    RadioPage *radio = nullptr;
    AccelPage *accel = nullptr;
    FcTestPage *fcTest = nullptr;
    SessionRecorder *recorder = nullptr;
    TransferProgressDialog *transferProgress = nullptr;
    QPointer<QDialog> changeList; // while a restore waits for the user's Write
};
