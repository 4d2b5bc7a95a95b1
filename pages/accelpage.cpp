#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "pages/fcconventions.h"

#include "mavlink/mavlinkbridge.h"

#include <QPixmap>
#include <QTimer>

namespace {
constexpr int kStepSeconds = 40;
constexpr int kTickMs = 1000;
// accelStep after the sixth face prompt; the click on it ends the run.
constexpr int kLastFaceStep = 11;
// After the last face the FC expects a final round of acks 0..7.
constexpr int kClosingAcks = 8;

struct AccelFace
{
    const char *keyword;
    const char *instruction;
    const char *picture;
};

// Tested in this order; a prompt naming several faces shows the last match.
const AccelFace kFaces[] = {
    {"level",
     QT_TRANSLATE_NOOP("MainWindow", "Please place the copter in horizontal with the top up"),
     ":/images/accel/1.png"},
    {"LEFT",
     QT_TRANSLATE_NOOP("MainWindow", "Please place the copter in vertical with the left side up"),
     ":/images/accel/2.png"},
    {"RIGHT",
     QT_TRANSLATE_NOOP("MainWindow", "Please place the copter in vertical with the right side up"),
     ":/images/accel/3.png"},
    {"DOWN",
     QT_TRANSLATE_NOOP("MainWindow", "Please place the copter in vertical with the rear side up"),
     ":/images/accel/4.png"},
    {"UP",
     QT_TRANSLATE_NOOP("MainWindow", "Please place the copter in vertical with the front side up"),
     ":/images/accel/5.png"},
    {"BACK",
     QT_TRANSLATE_NOOP("MainWindow",
                       "Please place the copter in horizontal with the bottom side up"),
     ":/images/accel/6.png"},
};

bool mentions(const QString &text, const char *key)
{
    return text.indexOf(QLatin1String(key), 0, Qt::CaseSensitive) != -1;
}
} // namespace

void MainWindow::initAccelPage()
{
    countdownTimer = new QTimer;
    connect(countdownTimer, &QTimer::timeout, this, &MainWindow::countdownTimerTick);
    connect(ui->accelCalibrateButton, &QPushButton::clicked, this,
            &MainWindow::accelCalibrateButtonClicked);
    ui->accelCalibrateButton->setEnabled(true);
    ui->accelHelp->setPlainText(
        tr("1.In order to fly better for your multi-rotors, please make sure you doing the six "
           "faces calibration right. You better to calibrate the six faces of a standard "
           "hexahedron.  "));
}

// Starts the calibration while idle; otherwise confirms the face on screen.
void MainWindow::accelCalibrateButtonClicked()
{
    const int step = accelStep;
    if (step == 0) {
        startAccelCalibration();
        return;
    }
    accelStep = step + 1;
    bridge->sendCommandAck(std::uint16_t(step), true);
    if (step < kLastFaceStep)
        accelCountdown = kStepSeconds;
    else
        finishAccelFaces();
}

void MainWindow::startAccelCalibration()
{
    bridge->sendCommandLong(Fc::kPreflightCalibration, 0, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                            Fc::kComponent);
    accelCountdown = kStepSeconds;
    ui->coutdownLabel->setText(tr("Time left: 30 Second"));
    countdownTimer->start(kTickMs);
}

// An end text leaves the button disabled; a fresh link is the user's way to
// try again, so it must not stay a dead end.
void MainWindow::enableAccelCalibrationForNewLink()
{
    ui->accelCalibrateButton->setEnabled(true);
}

void MainWindow::finishAccelFaces()
{
    ui->coutdownLabel->clear();
    countdownTimer->stop();
    ui->accelCalibrateButton->setText(tr("Start Calibrate"));
    for (int ack = 0; ack < kClosingAcks; ++ack)
        bridge->sendCommandAck(std::uint16_t(ack), true);
    accelStep = 0;
}

void MainWindow::countdownTimerTick()
{
    const int secondsLeft = accelCountdown;
    accelCountdown = secondsLeft - 1;
    ui->coutdownLabel->setText(tr("Time left: ") + QString::number(secondsLeft) + tr("second"));
    if (accelCountdown > 0)
        return;
    // The FC is not told; it may still send a late prompt, which is shown.
    ui->coutdownLabel->setText(tr("Time out, Please try again"));
    countdownTimer->stop();
    ui->accelCalibrateButton->setText(tr("Start calibrate"));
    accelStep = 0;
}

void MainWindow::accelTextReceived(const QString &text)
{
    if (mentions(text, "Place") && mentions(text, "and press any key"))
        showAccelFacePrompt(text);
    else if (mentions(text, "Calibration successful") || mentions(text, "FAILED"))
        endAccelCalibration(text);
}

void MainWindow::showAccelFacePrompt(const QString &text)
{
    if (accelStep == 0) {
        ui->accelCalibrateButton->setText(tr("Next"));
        ui->accelCalibrateButton->setEnabled(false);
    }
    for (const AccelFace &face : kFaces) {
        if (!mentions(text, face.keyword))
            continue;
        ui->outputLabel->setText(tr(face.instruction));
        ui->accelCalibrateButton->setEnabled(true);
        ui->accelImage->setPixmap(QPixmap(QString::fromLatin1(face.picture)));
    }
    ++accelStep;
}

// A text may report both outcomes; failure is tested last so it wins.
void MainWindow::endAccelCalibration(const QString &text)
{
    if (mentions(text, "Calibration successful"))
        ui->outputLabel->setText(tr("Calibrate Succeed!"));
    if (mentions(text, "FAILED"))
        ui->outputLabel->setText(tr("Calibrate Failed!"));
    ui->accelImage->setPixmap(QPixmap());
    ui->coutdownLabel->clear();
    countdownTimer->stop();
    accelStep = 0;
    ui->accelCalibrateButton->setText(tr("Start Calibrate"));
    ui->accelCalibrateButton->setEnabled(false);
}
