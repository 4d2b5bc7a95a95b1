#include "pages/gainpage.h"

#include "fc/fcconventions.h"
#include "mavlink/mavlinkbridge.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTextEdit>

#include <cmath>

namespace {
constexpr double kDefaultRateP = 0.15;
constexpr double kMinRateP = 0.04;
constexpr double kMaxRateP = 0.19;

// P and I of roll and pitch. The FC stores floats, so the clamps compare the
// stored float, widened, against the exact limits.
float squareRootGain(double gain)
{
    const float p = float(std::sqrt(gain / Fc::kDefaultGain) * kDefaultRateP);
    if (double(p) < kMinRateP)
        return float(kMinRateP);
    if (double(p) > kMaxRateP)
        return float(kMaxRateP);
    return p;
}

// D gains and yaw P: the spin value is taken as a float, scaled in double and
// stored as float again. Each rounding step moves the last bit of some gains,
// so the order matters.
float linearGain(double gain, double scale)
{
    return float(double(float(gain)) * scale / Fc::kDefaultGain);
}

double gainFromRate(const QVariant &value, double rateScale)
{
    return double(value.toFloat()) * Fc::kDefaultGain / rateScale;
}
} // namespace

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
    return {"RATE_RLL_D", "RATE_PIT_D", "RATE_YAW_P"};
}

void GainPage::showParameter(const QString &name, const QVariant &value)
{
    if (name == QLatin1String("RATE_RLL_D"))
        entered.showReported(form.roll, gainFromRate(value, Fc::kRateDScale));
    if (name == QLatin1String("RATE_PIT_D"))
        entered.showReported(form.pitch, gainFromRate(value, Fc::kRateDScale));
    if (name == QLatin1String("RATE_YAW_P"))
        entered.showReported(form.yaw, gainFromRate(value, Fc::kYawPScale));
}

// All seven gains follow from the three boxes, so one box nobody set would
// corrupt the tuning of its axis.
void GainPage::pidSave()
{
    if (!entered.allKnown({form.roll, form.pitch, form.yaw}))
        return;
    const double roll = form.roll->value();
    const double pitch = form.pitch->value();
    const float rollP = squareRootGain(roll);
    const float pitchP = squareRootGain(pitch);
    emit saveRequested(
        tr("Gain"),
        {{QStringLiteral("RATE_RLL_P"), rollP},
         {QStringLiteral("RATE_RLL_I"), rollP},
         {QStringLiteral("RATE_RLL_D"), linearGain(roll, Fc::kRateDScale)},
         {QStringLiteral("RATE_PIT_P"), pitchP},
         {QStringLiteral("RATE_PIT_I"), pitchP},
         {QStringLiteral("RATE_PIT_D"), linearGain(pitch, Fc::kRateDScale)},
         {QStringLiteral("RATE_YAW_P"), linearGain(form.yaw->value(), Fc::kYawPScale)}});
}

void GainPage::pidRead()
{
    requestParameters({"RATE_RLL_D", "RATE_PIT_D", "RATE_YAW_P", "ZEFAVERSION"});
}
