#include "pages/gainpage.h"

#include "fc/fcconventions.h"
#include "fc/units.h"
#include "mavlink/mavlinkbridge.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTextEdit>

GainPage::GainPage(const Widgets &widgets, MavLinkBridge &bridge, QObject *parent)
    : TabPage(bridge, parent), form(widgets)
{
    connect(form.read, &QPushButton::clicked, this, &GainPage::pidRead);
    connect(form.save, &QPushButton::clicked, this, &GainPage::pidSave);
    for (QDoubleSpinBox *box : {form.roll, form.pitch, form.yaw})
        entered.watch(box);
    form.help->setText(
        tr("1.Stable Gain  The range is between 1-10, and the default is 5.  The value is related "
           "to the size of the copter frame and the weight. The bigger the frame, the bigger the "
           "value. If you use the default parameter and find the multi-copter shaking and not "
           "stable in operation, please increase the value.\n\n\n") +
        tr("2.Beside the size of the frame and weight, the parameter also related to the power, "
           "vibration and the flight environment closely. Please do the tune up and testing in "
           "the open area, and ensure the security protection."));
}

QStringList GainPage::shownParameters() const
{
    return {QString::fromLatin1(Fc::kRollRateDParam), QString::fromLatin1(Fc::kPitchRateDParam),
            QString::fromLatin1(Fc::kYawRatePParam)};
}

void GainPage::showParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String(Fc::kRollRateDParam))
        entered.showReported(form.roll, Fc::gainFromRollPitchRateD(value.toFloat()));
    if (name == QLatin1String(Fc::kPitchRateDParam))
        entered.showReported(form.pitch, Fc::gainFromRollPitchRateD(value.toFloat()));
    if (name == QLatin1String(Fc::kYawRatePParam))
        entered.showReported(form.yaw, Fc::gainFromYawRateP(value.toFloat()));
}

// All seven gains follow from the three boxes, so one box nobody set would
// corrupt the tuning of its axis.
void GainPage::pidSave()
{
    if (!entered.allKnown({form.roll, form.pitch, form.yaw}))
        return;
    const double roll = form.roll->value();
    const double pitch = form.pitch->value();
    const float rollP = Fc::rollPitchRateP(roll);
    const float pitchP = Fc::rollPitchRateP(pitch);
    emit saveRequested(
        tr("Gain"), {{QString::fromLatin1(Fc::kRollRatePParam), rollP},
                     {QString::fromLatin1(Fc::kRollRateIParam), rollP},
                     {QString::fromLatin1(Fc::kRollRateDParam), Fc::rollPitchRateD(roll)},
                     {QString::fromLatin1(Fc::kPitchRatePParam), pitchP},
                     {QString::fromLatin1(Fc::kPitchRateIParam), pitchP},
                     {QString::fromLatin1(Fc::kPitchRateDParam), Fc::rollPitchRateD(pitch)},
                     {QString::fromLatin1(Fc::kYawRatePParam), Fc::yawRateP(form.yaw->value())}});
}

void GainPage::pidRead()
{
    requestParameters(
        {Fc::kRollRateDParam, Fc::kPitchRateDParam, Fc::kYawRatePParam, Fc::kFirmwareVersionParam});
}
