#include "pages/accelpage.h"

#include "fc/fcconventions.h"
#include "fc/statustexts.h"
#include "mavlink/mavlinkbridge.h"

#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

#include <iterator>

namespace {
constexpr int kStepSeconds = 40;
constexpr int kTickMs = 1000;
// accelStep after the sixth face prompt; the click on it ends the run.
constexpr int kLastFaceStep = 11;
// After the last face the FC expects a final round of acks 0..7.
constexpr int kClosingAcks = 8;

struct FaceShown
{
    const char *instruction;
    const char *picture;
};

// What each of the FC's faces shows, in the FC's order; prompts are tested
// in this order, and a prompt naming several faces shows the last match.
const FaceShown kFacesShown[] = {
    {QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in horizontal with the top up"),
     ":/images/accel/1.png"},
    {QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the left side up"),
     ":/images/accel/2.png"},
    {QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the right side up"),
     ":/images/accel/3.png"},
    {QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the rear side up"),
     ":/images/accel/4.png"},
    {QT_TRANSLATE_NOOP("AccelPage", "Please place the copter in vertical with the front side up"),
     ":/images/accel/5.png"},
    {QT_TRANSLATE_NOOP("AccelPage",
                       "Please place the copter in horizontal with the bottom side up"),
     ":/images/accel/6.png"},
};
static_assert(int(std::size(kFacesShown)) == Fc::kAccelFaceCount, "a picture for every face");

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
    mavlink.sendCommandLong(Fc::kPreflightCalibration, 0, 0.0f, 0.0f, 0.0f, 0.0f,
                            Fc::kAccelCalibrationParam5, 0.0f, 0.0f, Fc::kComponent);
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
    if (mentions(text, Fc::kAccelPromptStart) && mentions(text, Fc::kAccelPromptEnd))
        showAccelFacePrompt(text);
    else if (mentions(text, Fc::kAccelSucceeded) || mentions(text, Fc::kAccelFailed))
        endAccelCalibration(text);
}

void AccelPage::showAccelFacePrompt(const QString &text)
{
    if (accelStep == 0) {
        form.calibrate->setText(tr("Next"));
        form.calibrate->setEnabled(false);
    }
    for (int face = 0; face < Fc::kAccelFaceCount; ++face) {
        if (!mentions(text, Fc::kAccelFaces[face].keyword))
            continue;
        const FaceShown &shown = kFacesShown[face];
        form.instruction->setText(tr(shown.instruction));
        form.calibrate->setEnabled(true);
        form.picture->setPixmap(facePicture(form.picture, QString::fromLatin1(shown.picture)));
    }
    ++accelStep;
}

// A text may report both outcomes; failure is tested last so it wins.
void AccelPage::endAccelCalibration(const QString &text)
{
    if (mentions(text, Fc::kAccelSucceeded))
        form.instruction->setText(tr("Calibrate Succeed!"));
    if (mentions(text, Fc::kAccelFailed))
        form.instruction->setText(tr("Calibrate Failed!"));
    form.picture->setPixmap(QPixmap());
    form.countdown->clear();
    countdownTimer->stop();
    accelStep = 0;
    form.calibrate->setText(tr("Start Calibrate"));
    form.calibrate->setEnabled(false);
}
