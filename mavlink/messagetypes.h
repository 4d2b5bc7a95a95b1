#pragma once

#include <cstdint>

// Decoded payloads handed out by the bridge; field order as on the wire.
struct mavlink_raw_imu_t
{
    std::uint64_t time_usec;
    std::int16_t xacc;
    std::int16_t yacc;
    std::int16_t zacc;
    std::int16_t xgyro;
    std::int16_t ygyro;
    std::int16_t zgyro;
    std::int16_t xmag;
    std::int16_t ymag;
    std::int16_t zmag;
};

struct mavlink_sensor_offsets_t
{
    float mag_declination;
    std::int32_t raw_press;
    std::int32_t raw_temp;
    float gyro_cal_x;
    float gyro_cal_y;
    float gyro_cal_z;
    float accel_cal_x;
    float accel_cal_y;
    float accel_cal_z;
    std::int16_t mag_ofs_x;
    std::int16_t mag_ofs_y;
    std::int16_t mag_ofs_z;
};
