#pragma once

#include "pages/tabpage.h"

#include <memory>

class MavLinkBridge;
class QLabel;
class QPushButton;
class QTextEdit;
class QTimer;

// The Accelerometer tab over the form's widgets: the six-face calibration
// the FC leads with its status texts, one click per face, each face against
// a countdown.
class AccelPage : public TabPage
{
    Q_OBJECT

public:
    struct Widgets
    {
        QPushButton *calibrate;
        QLabel *countdown;
        QLabel *instruction;
        QLabel *picture;
        QTextEdit *help;
    };

    AccelPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent);
    ~AccelPage() override;

    // Nothing the FC reports as a parameter belongs here.
    // A status text of the calibration's severity: a face prompt or the end.
    void accelTextReceived(const QString &text);
    // An end text leaves the button disabled; a fresh link is the user's
    // way to try again.
    void enableCalibrationForNewLink();

public slots:
    // Starts the calibration while idle; otherwise confirms the face on screen.
    void accelCalibrateButtonClicked();
    void countdownTimerTick();

private:
    void startAccelCalibration();
    void finishAccelFaces();
    void showAccelFacePrompt(const QString &text);
    void endAccelCalibration(const QString &text);

    Widgets form;
    // 0 while no face waits for a click; counts prompts and clicks.
    int accelStep = 0;
    int accelCountdown = 0;
    std::unique_ptr<QTimer> countdownTimer;
};
