#include "parametertable.h"

#include "fcmessages.h"

namespace {
constexpr int kRcChannels = 8;
constexpr float kRcLowest = 1100.0f;
constexpr float kRcHighest = 1900.0f;
} // namespace

// A quad X on a PWM receiver, battery failsafe landing, gains as the gain
// page writes them for its default of 5.
ParameterTable::ParameterTable()
{
    using FcMessages::kParamTypeInt32;
    using FcMessages::kParamTypeReal32;
    add(QStringLiteral("ZEFAVERSION"), 20, kParamTypeInt32);
    add(QStringLiteral("FRAME"), 1, kParamTypeInt32);
    add(QStringLiteral("SHAPE"), 1, kParamTypeInt32);
    add(QStringLiteral("RC_TYPE"), 1, kParamTypeInt32);
    add(QStringLiteral("FS_BATT_ENABLE"), 1, kParamTypeInt32);
    add(QStringLiteral("FS_BATT_WARNING"), 11.1f, kParamTypeReal32);
    add(QStringLiteral("FS_BATT_VOLTAGE"), 10.5f, kParamTypeReal32);
    add(QStringLiteral("BATT_VOLT_MULT"), 10.1f, kParamTypeReal32);
    add(QStringLiteral("RATE_RLL_P"), 0.15f, kParamTypeReal32);
    add(QStringLiteral("RATE_RLL_I"), 0.15f, kParamTypeReal32);
    add(QStringLiteral("RATE_RLL_D"), 0.012f, kParamTypeReal32);
    add(QStringLiteral("RATE_PIT_P"), 0.15f, kParamTypeReal32);
    add(QStringLiteral("RATE_PIT_I"), 0.15f, kParamTypeReal32);
    add(QStringLiteral("RATE_PIT_D"), 0.012f, kParamTypeReal32);
    add(QStringLiteral("RATE_YAW_P"), 0.3f, kParamTypeReal32);
    add(QStringLiteral("ATC_RATE_FF_ENAB"), 0, kParamTypeInt32);
    add(QStringLiteral("CH8_OPT"), 0, kParamTypeInt32);
    add(QStringLiteral("RTL_ALT"), 1500, kParamTypeReal32);
    for (int channel = 1; channel <= kRcChannels; ++channel) {
        add(QStringLiteral("RC%1_MIN").arg(channel), kRcLowest, kParamTypeReal32);
        add(QStringLiteral("RC%1_MAX").arg(channel), kRcHighest, kParamTypeReal32);
    }
}

void ParameterTable::add(const QString &name, float value, std::uint8_t type)
{
    params.append({name, value, type});
}

int ParameterTable::indexOf(const QString &name) const
{
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].name == name)
            return i;
    }
    return -1;
}
