#include "pages/fctestpage.h"

#include "fc/fcconventions.h"
#include "fc/statustexts.h"
#include "mavlink/mavlinkbridge.h"
#include "pages/catchuponshow.h"
#include "pages/setifchanged.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace {

const char kPassStyle[] = "background-color: rgb(0, 255, 0);color: rgb(0, 0, 0);";
const char kFailStyle[] = "background-color: rgb(255, 0, 0);color: rgb(0, 0, 0);";

struct PreArmRow
{
    const char *key;
    QLabel *FcTestPage::Widgets::*label;
    const char *verdict;
};

// Tested in order against every error text; a later row on the same label
// overwrites an earlier one. The leading blanks are part of the verdicts.
const PreArmRow kPreArmTable[] = {
    {Fc::kRcNotCalibrated, &FcTestPage::Widgets::rcResult,
     QT_TRANSLATE_NOOP("FcTestPage", "need Calibrate")},
    {Fc::kBaroNotHealthy, &FcTestPage::Widgets::baroResult,
     QT_TRANSLATE_NOOP("FcTestPage", "Alarm:Please put FC level,wait a minutes and try again!")},
    {Fc::kCompassNotHealthy, &FcTestPage::Widgets::compassResult,
     QT_TRANSLATE_NOOP("FcTestPage", "not healthy!")},
    {Fc::kCompassNotCalibrated, &FcTestPage::Widgets::compassResult,
     QT_TRANSLATE_NOOP("FcTestPage", " need calibrate")},
    {Fc::kCompassOffsetsTooHigh, &FcTestPage::Widgets::compassResult,
     QT_TRANSLATE_NOOP("FcTestPage", " Interference")},
    {Fc::kCheckMagField, &FcTestPage::Widgets::compassResult,
     QT_TRANSLATE_NOOP("FcTestPage", "need calibrate")},
    {Fc::kInsNotCalibrated, &FcTestPage::Widgets::accelResult,
     QT_TRANSLATE_NOOP("FcTestPage", " need calibrate!")},
    {Fc::kInsNotHealthy, &FcTestPage::Widgets::accelResult,
     QT_TRANSLATE_NOOP("FcTestPage", " not healthy, please put it level and still")},
    {Fc::kGpsGlitch, &FcTestPage::Widgets::gpsResult,
     QT_TRANSLATE_NOOP("FcTestPage", "signal not good!")},
    {Fc::kNeed3dFix, &FcTestPage::Widgets::gpsResult, QT_TRANSLATE_NOOP("FcTestPage", "No Fix")},
    {Fc::kBadVelocity, &FcTestPage::Widgets::gpsResult,
     QT_TRANSLATE_NOOP("FcTestPage", "signal not good!")},
    {Fc::kHighGpsHdop, &FcTestPage::Widgets::gpsResult,
     QT_TRANSLATE_NOOP("FcTestPage", "signal not good!")},
    {Fc::kThrottleBelowFailsafe, &FcTestPage::Widgets::rcResult,
     QT_TRANSLATE_NOOP("FcTestPage", "need Calibrated")},
};

bool reports(const QString &text, const char *key)
{
    return text.contains(QLatin1String(key), Qt::CaseSensitive);
}

void showAngle(QLabel *label, double degrees)
{
    setIfChanged(label, &QLabel::text, &QLabel::setText, QString::number(degrees, 'f', 1));
}

void fillIfEmpty(QLabel *label, const QString &text)
{
    if (label->text().isEmpty())
        label->setText(text);
}
} // namespace

// The attitude connection made here is the start-up one; the window adds
// and removes another with each link.
FcTestPage::FcTestPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets),
      attitudeView(new CatchUpOnShow(form.roll, [this] { showAttitude(); }))
{
    connect(&mavlink, &MavLinkBridge::setATT, this, &FcTestPage::attitudeUpdate);
    connect(&mavlink, &MavLinkBridge::armedUpdate, this, &FcTestPage::armedUpdate);
    connect(form.test, &QPushButton::clicked, this, &FcTestPage::fcTestButtonClicked);
    form.test->setEnabled(true);
    form.help->setPlainText(tr("1.Make sue you have connect the GPS module correctly, and have "
                               "calibrated the radio controller, accelemeter and compass."));
}

// The FC answers with its pre-arm complaints as error texts.
void FcTestPage::fcTestButtonClicked()
{
    mavlink.requestRawSensorsStream(1);
    mavlink.requestExtra1Stream(1);
    mavlink.requestExtra2Stream(1);
    mavlink.requestExtra3Stream(1);
    mavlink.requestPositionStream(1);
    mavlink.sendCommandLong(Fc::kPreflightCalibration, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                            Fc::kSelfTestParam6, 0.0f, Fc::kComponent);
}

void FcTestPage::attitudeUpdate(double roll, double pitch, double yaw)
{
    latestRoll = roll;
    latestPitch = pitch;
    latestYaw = yaw;
    attitudeView->valuesChanged();
}

void FcTestPage::showAttitude()
{
    showAngle(form.roll, latestRoll);
    showAngle(form.pitch, latestPitch);
    showAngle(form.yaw, latestYaw);
}

// The armed state is not shown.
void FcTestPage::armedUpdate(bool) {}

void FcTestPage::selfTestTextReceived(const QString &text)
{
    for (const PreArmRow &row : kPreArmTable) {
        if (reports(text, row.key))
            (form.*row.label)->setText(tr(row.verdict));
    }
    countPreArmReport(text);
    showSelfTestVerdict();
}

// A health failure of the barometer or the INS fails the test until restart;
// any "PreArm" text shows the checks ran.
void FcTestPage::countPreArmReport(const QString &text)
{
    for (const char *failure : {Fc::kBaroNotHealthy, Fc::kInsNotHealthy}) {
        if (reports(text, failure)) {
            --preArmCount;
            hardwareOk = false;
        }
    }
    if (reports(text, Fc::kPreArm))
        preArmCount = 1;
}

void FcTestPage::showSelfTestVerdict()
{
    if (!hardwareOk || preArmCount <= 0) {
        form.hardwareResult->setText(tr("Error!!!!! Please check the hardware and calibrate!"));
        form.hardwareResult->setStyleSheet(QLatin1String(kFailStyle));
        return;
    }
    form.hardwareResult->setText(tr("FC System Hardware OK,Pass! If you can not use it,Please "
                                    "check your radio controller and esc."));
    form.hardwareResult->setStyleSheet(QLatin1String(kPassStyle));
    for (QLabel *label : {form.accelResult, form.compassResult, form.rcResult, form.baroResult})
        fillIfEmpty(label, tr("OK!"));
    fillIfEmpty(form.gpsResult, tr("Please install and put FC to GPS mode to check GPS module"));
}
