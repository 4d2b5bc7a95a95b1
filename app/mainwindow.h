#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QVariant>

class AccelPage;
class AllParametersAction;
class AutoConnectAction;
class FcSession;
class FcTestPage;
class HistoryAction;
class MavLinkBridge;
class PortMenu;
class RadioPage;
class RecordingAction;
class SaveReports;
class SettingsDialog;
class TabPage;
class TransferActions;

namespace Ui {
class MainWindow;
}

// The one window: it builds the pages over the form and arranges the FC's
// session, the menus and the features behind them.
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
    // Records the session to path, as Record Session... does.
    void startRecording(const QString &path);

public slots:
    // Link to the FC
    void openSerialPort();
    void closeSerialPort();
    void about();
    void writeData(QByteArray data);

    // Status texts and parameter values from the FC
    void TextMessageReceived(int uasid, int componentid, int severity, QString text);
    void parameterChanged(QString &name, QVariant value);

private slots:
    void reportDeviceLoss();

private:
    // Tests watch the bridge's connections and the link through it.
    friend class GcsHarness;

    void initActionsConnections();
    void initFramePage();
    void initRadioPage();
    void initVoltagePage();
    void initAccelPage();
    void initFcTestPage();
    void initPidPage();
    void initAdvancedPage();
    void addTabPage(TabPage *page);

    void showLinkOpen(bool open);
    void switchLinkSignals(bool on);

    FcSession *session;
    MavLinkBridge *bridge;
    Ui::MainWindow *ui;
    SettingsDialog *settingsDialog;
    SaveReports *saves = nullptr;
    TransferActions *transfers = nullptr;
    RecordingAction *recording = nullptr;
    AllParametersAction *allParameters = nullptr;
    PortMenu *portMenu = nullptr;
    AutoConnectAction *autoConnect = nullptr;
    HistoryAction *history = nullptr;
    // The tabs with a class of their own.
    QList<TabPage *> tabPages;
    RadioPage *radio = nullptr;
    AccelPage *accel = nullptr;
    FcTestPage *fcTest = nullptr;
};
