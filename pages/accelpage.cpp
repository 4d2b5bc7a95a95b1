#include "pages/accelpage.h"

#include "fc/fcconventions.h"
#include "mavlink/mavlinkbridge.h"

#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
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
     QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in horizontal with the top up"),
     ":/images/accel/1.png"},
    {"LEFT",
     QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the left side up"),
     ":/images/accel/2.png"},
    {"RIGHT",
     QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the right side up"),
     ":/images/accel/3.png"},
    {"DOWN",
     QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the rear side up"),
     ":/images/accel/4.png"},
    {"UP",
     QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the front side up"),
     ":/images/accel/5.png"},
    {"BACK",
     QT_TRANSLATE_NOOP("AccelPage",
                       "Please place the copter in horizontal with the bottom side up"),
     ":/images/accel/6.png"},
};

bool mentions(const QString &text, const char *key)
{
    return text.indexOf(QLatin1String(key), 0, Qt::CaseSensitive) != -1;
}

// The part of the picture the label shows. Qt 5.15 clips a high-density
// pixmap that overflows a label at the wrong offset (logical pixels taken as
// device pixels), so the label gets only that part and nothing to clip.
QPixmap visiblePart(const QLabel *label, const QPixmap &picture)
{
    const qreal ratio = picture.devicePixelRatioF();
    const QRect area = label->contentsRect();
    const QRect placed = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                             picture.size() / ratio, area);
    const QRect shown = placed.intersected(area).translated(-placed.topLeft());
    QPixmap part = picture.copy(
        QRectF(QPointF(shown.topLeft()) * ratio, QSizeF(shown.size()) * ratio).toRect());
    part.setDevicePixelRatio(ratio);
    return part;
}

// The face as sharp as the label's screen allows. A file icon takes the @2x
// drawing on a denser screen and scales it down smoothly for ratios between 1
// and 2. A 1x screen gets the plain picture from the pixmap cache.
QPixmap facePicture(const QLabel *label, const QString &path)
{
    if (label->devicePixelRatioF() <= 1.0)
        return QPixmap(path);
    const QSize logicalSize = QImageReader(path).size();
    return visiblePart(label, QIcon(path).pixmap(label->window()->windowHandle(), logicalSize));
}
} // namespace

AccelPage::AccelPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets), countdownTimer(new QTimer)
{
    connect(countdownTimer.get(), &QTimer::timeout, this, &AccelPage::countdownTimerTick);
    connect(form.calibrate, &QPushButton::clicked, this, &AccelPage::accelCalibrateButtonClicked);
    form.calibrate->setEnabled(true);
    form.help->setPlainText(
        tr("1.In order to fly better for your multi-rotors, please make sure you doing the six "
           "faces calibration right. You better to calibrate the six faces of a standard "
           "hexahedron.  "));
}

AccelPage::~AccelPage() = default;

void AccelPage::accelCalibrateButtonClicked()
{
    const int step = accelStep;
    if (step == 0) {
        startAccelCalibration();
        return;
    }
    accelStep = step + 1;
    mavlink.sendCommandAck(std::uint16_t(step), true);
    if (step < kLastFaceStep)
        accelCountdown = kStepSeconds;
    else
        finishAccelFaces();
}

void AccelPage::startAccelCalibration()
{
    mavlink.sendCommandLong(Fc::kPreflightCalibration, 0, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                            Fc::kComponent);
    accelCountdown = kStepSeconds;
    form.countdown->setText(tr("Time left: 30 Second"));
    countdownTimer->start(kTickMs);
}

void AccelPage::enableCalibrationForNewLink()
{
    form.calibrate->setEnabled(true);
}

void AccelPage::finishAccelFaces()
{
    form.countdown->clear();
    countdownTimer->stop();
    form.calibrate->setText(tr("Start Calibrate"));
    for (int ack = 0; ack < kClosingAcks; ++ack)
        mavlink.sendCommandAck(std::uint16_t(ack), true);
    accelStep = 0;
}

void AccelPage::countdownTimerTick()
{
    const int secondsLeft = accelCountdown;
    accelCountdown = secondsLeft - 1;
    form.countdown->setText(tr("Time left: ") + QString::number(secondsLeft) + tr("second"));
    if (accelCountdown > 0)
        return;
    // The FC is not told; it may still send a late prompt, which is shown.
    form.countdown->setText(tr("Time out, Please try again"));
    countdownTimer->stop();
    form.calibrate->setText(tr("Start calibrate"));
    accelStep = 0;
}

void AccelPage::accelTextReceived(const QString &text)
{
    if (mentions(text, "Place") && mentions(text, "and press any key"))
        showAccelFacePrompt(text);
    else if (mentions(text, "Calibration successful") || mentions(text, "FAILED"))
        endAccelCalibration(text);
}

void AccelPage::showAccelFacePrompt(const QString &text)
{
    if (accelStep == 0) {
        form.calibrate->setText(tr("Next"));
        form.calibrate->setEnabled(false);
    }
    for (const AccelFace &face : kFaces) {
        if (!mentions(text, face.keyword))
            continue;
        form.instruction->setText(tr(face.instruction));
        form.calibrate->setEnabled(true);
        form.picture->setPixmap(facePicture(form.picture, QString::fromLatin1(face.picture)));
    }
    ++accelStep;
}

// A text may report both outcomes; failure is tested last so it wins.
void AccelPage::endAccelCalibration(const QString &text)
{
    if (mentions(text, "Calibration successful"))
        form.instruction->setText(tr("Calibrate Succeed!"));
    if (mentions(text, "FAILED"))
        form.instruction->setText(tr("Calibrate Failed!"));
    form.picture->setPixmap(QPixmap());
    form.countdown->clear();
    countdownTimer->stop();
    accelStep = 0;
    form.calibrate->setText(tr("Start Calibrate"));
    form.calibrate->setEnabled(false);
}
