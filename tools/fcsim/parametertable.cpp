#include "parametertable.h"

#include "fc/fcconventions.h"
#include "mavlink/messageset.h"

#include <QStringList>
#include <QtGlobal>

#include <cmath>

namespace {

constexpr std::uint8_t I8 = ParamType::Int8;
constexpr std::uint8_t I16 = ParamType::Int16;
constexpr std::uint8_t I32 = ParamType::Int32;
constexpr std::uint8_t F32 = ParamType::Real32;

// The largest float an INT32 can hold; 2^31 - 1 itself rounds up to 2^31.
constexpr double kInt32HighestFloat = 2147483520.0;

// A row repeats for every label of its group, which replaces the "%1" in its
// name; it has one value for all labels or one value per label. A group
// without labels holds single parameters.
struct Row
{
    const char *name;
    std::uint8_t type;
    QVector<float> values;
};

struct Group
{
    QStringList labels;
    QVector<Row> rows;
};

QStringList numbered(int first, int last)
{
    QStringList labels;
    for (int n = first; n <= last; ++n)
        labels << QString::number(n);
    return labels;
}

const QStringList kRollPitchYaw = {"RLL", "PIT", "YAW"};
const QStringList kXyz = {"X", "Y", "Z"};

// A calibrated quad X on a PWM receiver with a 3-cell battery, battery
// failsafe landing, gains as the gain page writes them for its default of 5.
QVector<Group> defaults()
{
    return {
        {{},
         {
             {Fc::kFirmwareVersionParam, I32, {Fc::kSupportedFirmware}},
             {"SYS_MAV_ID", I16, {1}},
             {"SYS_GCS_ID", I16, {255}},
             {"SYS_BOOTS", I32, {37}},
             {"SYS_LOOP_HZ", I16, {400}},
             {"SYS_CPU_WARN", I8, {90}},
             {Fc::kFrameParam, I32, {1}},
             {Fc::kShapeParam, I32, {1}},
             {"HW_SAFETY_SW", I8, {0}},
             {"HW_HEATER_C", I8, {45}},
             {"HW_5V_MIN", F32, {4.35f}},
             {"ARM_PRECHECKS", I32, {1023}},
             {"ARM_STICK_GEST", I8, {1}},
             {"ARM_VBAT_MIN", F32, {10.9f}},
             {"ARM_TILT_MAX", F32, {25}},
             {"ARM_AUTO_OFF_S", I8, {8}},
             {"ARM_IDLE_THR", F32, {0.08f}},
             {"FMODE_CH", I8, {5}},
         }},
        {numbered(1, 6), {{"FMODE%1", I8, {1, 2, 3, 4, 6, 8}}}},
        {{}, {{"FMODE_HEADFREE", I8, {0}}}},
        // Attitude: angle loop, its limits and the thrust mix.
        {kRollPitchYaw,
         {
             {"ANG_%1_P", F32, {5.2f, 5.2f, 3.8f}},
             {"ANG_%1_ACC", F32, {720, 720, 240}},
             {"ANG_%1_VMAX", F32, {220, 220, 160}},
         }},
        {{},
         {
             {Fc::kFeedForwardParam, I32, {0}},
             {"ANG_TILT_MAX", I16, {35}},
             {"ANG_SMOOTH", F32, {0.12f}},
             {"ANG_YAW_SLEW", F32, {90}},
             {"MIX_THR_PRIO", F32, {0.35f}},
             {"MIX_AIRMODE", I8, {0}},
             {"MIX_YAW_LIMIT", F32, {0.3f}},
         }},
        // Body rate loops.
        {kRollPitchYaw,
         {
             {"RATE_%1_P", F32, {0.15f, 0.15f, 0.3f}},
             {"RATE_%1_I", F32, {0.15f, 0.15f, 0.03f}},
             {"RATE_%1_D", F32, {0.012f, 0.012f, 0}},
             {"RATE_%1_ILIM", F32, {0.4f, 0.4f, 0.25f}},
             {"RATE_%1_FF", F32, {0}},
             {"RATE_%1_TLPF", F32, {30, 30, 12}},
             {"RATE_%1_DLPF", F32, {45, 45, 0}},
         }},
        // Position, navigation, hold and the feel of the sticks.
        {{},
         {
             {"PC_XY_P", F32, {0.95f}},        {"PC_Z_P", F32, {1.1f}},
             {"PC_VXY_P", F32, {1.8f}},        {"PC_VXY_I", F32, {0.4f}},
             {"PC_VXY_D", F32, {0.2f}},        {"PC_VXY_ILIM", F32, {6}},
             {"PC_VZ_P", F32, {4.2f}},         {"PC_VZ_I", F32, {1.6f}},
             {"PC_VZ_D", F32, {0.05f}},        {"PC_VZ_ILIM", F32, {4}},
             {"PC_HOVER_THR", F32, {0.4218f}}, {"PC_TILT_MAX", I16, {30}},
             {"NAV_HSPEED", F32, {6.0f}},      {"NAV_CLIMB", F32, {2.5f}},
             {"NAV_SINK", F32, {1.5f}},        {"NAV_ACC_HOR", F32, {3.0f}},
             {"NAV_ACC_VER", F32, {2.0f}},     {"NAV_WP_RADIUS", F32, {1.5f}},
             {"NAV_HEADING", I8, {1}},         {"NAV_RANGEFINDER", I8, {1}},
             {"HOLD_SPEED", F32, {8.0f}},      {"HOLD_BRAKE", F32, {3.5f}},
             {"HOLD_BRAKE_DLY", F32, {0.6f}},  {"HOLD_DEADBAND", F32, {0.05f}},
             {"STK_CLIMB_MAX", F32, {3.0f}},   {"STK_SINK_MAX", F32, {2.0f}},
             {"STK_YAW_RATE", F32, {150}},     {"STK_ACRO_RATE", F32, {540}},
             {"STK_EXPO_RP", F32, {0.25f}},    {"STK_EXPO_Y", F32, {0.15f}},
             {"STK_THR_CURVE", F32, {0.5f}},   {"STK_THR_MID", F32, {0.45f}},
         }},
        // Return home and landing.
        {{},
         {
             {Fc::kReturnAltitudeParam, F32, {1500}},
             {"RTL_DESC_ALT", I16, {500}},
             {"RTL_HOVER_S", I16, {5}},
             {"RTL_CRUISE", F32, {0}},
             {"RTL_HOME_YAW", I8, {0}},
             {"LND_SINK", F32, {0.7f}},
             {"LND_SINK_FAST", F32, {2.0f}},
             {"LND_SLOW_ALT", F32, {8.0f}},
             {"LND_DETECT_S", F32, {1.2f}},
             {"LND_STICK_NUDGE", I8, {1}},
         }},
        // Radio input.
        {{},
         {
             {Fc::kReceiverTypeParam, I32, {1}},
             {"RC_FAIL_S", F32, {0.8f}},
             {"RC_ROLL_CH", I8, {1}},
             {"RC_PITCH_CH", I8, {2}},
             {"RC_THR_CH", I8, {3}},
             {"RC_YAW_CH", I8, {4}},
             {"RC_SBUS_INV", I8, {1}},
             {"RC_RSSI_CH", I8, {0}},
         }},
        {numbered(1, 8),
         {
             {Fc::kRcMinParam, F32, {1100}},
             {Fc::kRcMaxParam, F32, {1900}},
             {"RC%1_TRIM", F32, {1500, 1500, 1100, 1500, 1500, 1500, 1500, 1500}},
             {"RC%1_DZ", I16, {15, 15, 25, 15, 0, 0, 0, 0}},
             {"RC%1_REV", I8, {0}},
             {"CH%1_OPT", I32, {0}},
         }},
        // Outputs: motors on 1 to 4.
        {numbered(1, 8),
         {
             {"PWM%1_FUNC", I16, {101, 102, 103, 104, 0, 0, 0, 0}},
             {"PWM%1_MIN", I16, {1000}},
             {"PWM%1_MAX", I16, {2000}},
             {"PWM%1_DISARM", I16, {900, 900, 900, 900, 1500, 1500, 1500, 1500}},
             {"PWM%1_REV", I8, {0}},
         }},
        {{},
         {
             {"PWM_RATE", I16, {400}},
             {"PWM_PROTOCOL", I8, {0}},
             {"PWM_DSHOT_BIDIR", I8, {0}},
             {"MOT_IDLE", F32, {0.07f}},
             {"MOT_ARMED_SPIN", I8, {1}},
             {"MOT_LIN", F32, {0.55f}},
             {"MOT_VCOMP", I8, {1}},
             {"MOT_RAMP_S", F32, {0.4f}},
             {"MOT_POLES", I8, {14}},
             {"MOT_ORDER", I8, {0}},
             {"MOT_DIR", I8, {0}},
         }},
        // Battery and failsafes.
        {{},
         {
             {"BATT_SENSE", I8, {1}},
             {"BATT_MAH", I32, {4500}},
             {"BATT_CELLS", I8, {3}},
             {"BATT_VPIN", I8, {10}},
             {"BATT_APIN", I8, {11}},
             {Fc::kVoltageMultiplierParam, F32, {10.1f}},
             {"BATT_AMP_MULT", F32, {36.6f}},
             {"BATT_AMP_OFS", F32, {0.0125f}},
             {"BATT_CELL_FULL", F32, {4.2f}},
             {"BATT_CELL_EMPTY", F32, {3.3f}},
             {"BATT_RESERVE", I8, {20}},
             {"BATT_FILTER", F32, {0.5f}},
             {Fc::kBatteryFailsafeParam, I32, {1}},
             {Fc::kBatteryWarningParam, F32, {11.1f}},
             {Fc::kBatteryFailsafeVoltageParam, F32, {10.5f}},
             {"FS_BATT_TIMER", I8, {5}},
             {"FS_RC_ACTION", I8, {2}},
             {"FS_RC_DELAY", F32, {1.5f}},
             {"FS_LINK_ACTION", I8, {0}},
             {"FS_LINK_S", I16, {10}},
             {"FS_GEO_ACTION", I8, {1}},
             {"FS_CRASH_DET", I8, {1}},
             {"FS_TILT_CUT", I16, {70}},
             {"FS_POS_LOST", I8, {1}},
         }},
        // Inertial sensors, with the calibration of three units.
        {{},
         {
             {"IMU_RATE_HZ", I16, {1000}},
             {"IMU_GYRO_LPF", I16, {90}},
             {"IMU_ACC_LPF", I16, {30}},
             {"IMU_ORIENT", I8, {0}},
             {"IMU_BOARD_RLL", F32, {0}},
             {"IMU_BOARD_PIT", F32, {0}},
             {"IMU_NOTCH_EN", I8, {1}},
             {"IMU_NOTCH_SRC", I8, {1}},
             {"IMU_NOTCH_HZ", F32, {120}},
             {"IMU_NOTCH_BW", F32, {45}},
         }},
        {numbered(1, 3),
         {
             {"IMU%1_ID", I32, {3932170, 3932426, 2490378}},
             {"IMU%1_USE", I8, {1}},
             {"IMU%1_ACC_OFS_X", F32, {0.0213f, -0.0841f, 0.1377f}},
             {"IMU%1_ACC_OFS_Y", F32, {-0.0569f, 0.0402f, -0.0118f}},
             {"IMU%1_ACC_OFS_Z", F32, {0.1926f, -0.2314f, 0.0871f}},
             {"IMU%1_ACC_SCL_X", F32, {0.99871f, 1.00214f, 0.99653f}},
             {"IMU%1_ACC_SCL_Y", F32, {1.00102f, 0.99788f, 1.00391f}},
             {"IMU%1_ACC_SCL_Z", F32, {0.99544f, 1.00067f, 0.99912f}},
             {"IMU%1_GYR_OFS_X", F32, {0.00412f, -0.00187f, 0.00093f}},
             {"IMU%1_GYR_OFS_Y", F32, {-0.00256f, 0.00341f, -0.00472f}},
             {"IMU%1_GYR_OFS_Z", F32, {0.00118f, 0.00059f, -0.00207f}},
             {"IMU%1_TCAL_ENABLE", I8, {0}},
         }},
        // Compasses: the external one first.
        {{},
         {
             {"CMP_ENABLE", I8, {1}},
             {"CMP_AUTO_DEC", I8, {1}},
             {"CMP_DEC", F32, {0.0712f}},
             {"CMP_LEARN", I8, {0}},
             {"CMP_ORIENT", I8, {0}},
             {"CMP_EXTERNAL", I8, {1}},
             {"CMP_CAL_TOL", F32, {12}},
         }},
        {numbered(1, 3),
         {
             {"CMP%1_ID", I32, {97539, 131874, 0}},
             {"CMP%1_USE", I8, {1, 1, 0}},
             {"CMP%1_OFS_X", F32, {42.7f, -15.3f, 0}},
             {"CMP%1_OFS_Y", F32, {-108.2f, 61.9f, 0}},
             {"CMP%1_OFS_Z", F32, {23.4f, -77.1f, 0}},
             {"CMP%1_DIA_X", F32, {1.021f, 0.987f, 1}},
             {"CMP%1_DIA_Y", F32, {0.994f, 1.013f, 1}},
             {"CMP%1_DIA_Z", F32, {1.008f, 0.979f, 1}},
             {"CMP%1_SCALE", F32, {1}},
         }},
        // Barometer, satellite receiver and the state estimator.
        {{},
         {
             {"BARO_USE", I8, {1}},
             {"BARO_LPF", F32, {2.5f}},
             {"BARO_OFS_M", F32, {0}},
             {"BARO_REF_PA", F32, {100942.7f}},
             {"BARO_TEMP_OFS", F32, {-0.8f}},
             {"GNSS_MODEL", I8, {1}},
             {"GNSS_RATE_HZ", I8, {5}},
             {"GNSS_SYSTEMS", I8, {7}},
             {"GNSS_SBAS", I8, {1}},
             {"GNSS_MIN_SATS", I8, {8}},
             {"GNSS_MAX_HDOP", F32, {1.8f}},
             {"GNSS_DELAY_MS", I16, {110}},
         }},
        {kXyz, {{"GNSS_ANT_%1", F32, {0.05f, 0, -0.02f}}}},
        {{},
         {
             {"EST_ENABLE", I8, {1}},
             {"EST_IMU_MASK", I8, {3}},
             {"EST_ALT_SRC", I8, {1}},
             {"EST_VEL_NOISE", F32, {0.25f}},
             {"EST_VZ_NOISE", F32, {0.4f}},
             {"EST_POS_NOISE", F32, {0.8f}},
             {"EST_ALT_NOISE", F32, {1.5f}},
             {"EST_GYR_NOISE", F32, {0.02f}},
             {"EST_ACC_NOISE", F32, {0.4f}},
             {"EST_MAG_NOISE", F32, {0.06f}},
             {"EST_WIND_NOISE", F32, {0.15f}},
             {"EST_GATE_POS", I16, {5}},
             {"EST_GATE_VEL", I16, {5}},
             {"EST_GATE_MAG", I16, {3}},
         }},
        // Geofence and logging.
        {{},
         {
             {"GEO_ENABLE", I8, {0}},
             {"GEO_RADIUS", F32, {250}},
             {"GEO_ALT_MAX", F32, {120}},
             {"GEO_ACTION", I8, {1}},
             {"GEO_MARGIN", F32, {3}},
             {"LOG_MODE", I8, {1}},
             {"LOG_MASK", I32, {4095}},
             {"LOG_RATE_HZ", I16, {50}},
             {"LOG_KEEP_FILES", I16, {100}},
             {"LOG_MIN_FREE_MB", I16, {256}},
         }},
        // Serial ports: USB, two telemetry radios, satellite receiver, two free.
        {numbered(0, 5),
         {
             {"SER%1_BAUD", I32, {115200, 57600, 57600, 38400, 115200, 115200}},
             {"SER%1_PROTO", I8, {1, 1, 1, 4, -1, -1}},
             {"SER%1_OPTS", I16, {0}},
             {"SER%1_FLOW", I8, {0, 2, 0, 0, 0, 0}},
         }},
        // Telemetry rates in Hz on the USB port and the first radio.
        {numbered(0, 1),
         {
             {"TLM%1_RAW_SENS", I16, {0, 2}},
             {"TLM%1_EXT_STAT", I16, {0, 2}},
             {"TLM%1_RC_CHAN", I16, {0, 2}},
             {"TLM%1_POSITION", I16, {0, 3}},
             {"TLM%1_EXTRA1", I16, {0, 10}},
             {"TLM%1_EXTRA2", I16, {0, 10}},
             {"TLM%1_EXTRA3", I16, {0, 3}},
             {"TLM%1_PARAMS", I16, {0, 10}},
         }},
        // Peripherals and tuning.
        {{},
         {
             {"RFND_TYPE", I8, {0}},
             {"RFND_MIN_M", F32, {0.2f}},
             {"RFND_MAX_M", F32, {7.0f}},
             {"OFLOW_TYPE", I8, {0}},
             {"LED_BRIGHTNESS", I8, {60}},
             {"LED_COUNT", I8, {4}},
             {"BUZZ_VOLUME", I8, {80}},
             {"ESC_CAL_REQ", I8, {0}},
             {"TUNE_AXES", I8, {7}},
             {"TUNE_AGGR", F32, {0.08f}},
             {"OSD_ENABLE", I8, {0}},
             {"OSD_UNITS", I8, {0}},
             {"CAM_TRIG_CH", I8, {0}},
             {"GIMBAL_TYPE", I8, {0}},
         }},
    };
}

float wholeWithin(float value, double lowest, double highest)
{
    return float(qBound(lowest, std::round(double(value)), highest));
}

float storedAs(std::uint8_t type, float value)
{
    switch (type) {
    case I8:
        return wholeWithin(value, -128, 127);
    case I16:
        return wholeWithin(value, -32768, 32767);
    case I32:
        return wholeWithin(value, -2147483648.0, kInt32HighestFloat);
    default:
        return value;
    }
}

} // namespace

ParameterTable::ParameterTable()
{
    for (const Group &group : defaults()) {
        const QStringList labels = group.labels.isEmpty() ? QStringList{QString()} : group.labels;
        for (int i = 0; i < labels.size(); ++i) {
            for (const Row &row : group.rows) {
                const QString pattern = QString::fromLatin1(row.name);
                const QString name = labels[i].isEmpty() ? pattern : pattern.arg(labels[i]);
                const float value = row.values.size() == 1 ? row.values[0] : row.values.at(i);
                params.append({name, value, row.type});
            }
        }
    }
}

int ParameterTable::indexOf(const QString &name) const
{
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].name == name)
            return i;
    }
    return -1;
}

void ParameterTable::setValue(int index, float value)
{
    FcParameter &p = params[index];
    p.value = storedAs(p.type, value);
}
