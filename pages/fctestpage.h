#pragma once

#include "pages/tabpage.h"

class CatchUpOnShow;
class MavLinkBridge;
class QLabel;
class QPushButton;
class QTextEdit;

// The FC Test tab over the form's widgets: the attitude as the FC reports
// it, and a self-test built on the pre-arm complaints the FC sends as error
// texts.
class FcTestPage : public TabPage
{
    Q_OBJECT

public:
    struct Widgets
    {
        QPushButton *test;
        QLabel *roll;
        QLabel *pitch;
        QLabel *yaw;
        QLabel *accelResult;
        QLabel *compassResult;
        QLabel *rcResult;
        QLabel *baroResult;
        QLabel *gpsResult;
        QLabel *hardwareResult;
        QTextEdit *help;
    };

    FcTestPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);

    // Nothing the FC reports as a parameter belongs here.
    // A status text of the pre-arm checks' severity.
    void selfTestTextReceived(const QString &text);

public slots:
    void fcTestButtonClicked();
    void attitudeUpdate(double roll, double pitch, double yaw);
    void armedUpdate(bool armed);

private:
    void countPreArmReport(const QString &text);
    void showSelfTestVerdict();
    void showAttitude();

    Widgets form;
    CatchUpOnShow *attitudeView;
    double latestRoll = 0;
    double latestPitch = 0;
    double latestYaw = 0;
    // A failed health check fails the test until the program restarts.
    bool hardwareOk = true;
    int preArmCount = 0;
};
