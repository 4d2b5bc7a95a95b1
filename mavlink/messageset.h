#pragma once

#include <cstdint>

// The MAVLink 1.0 vocabulary this program and the FC share: message ids,
// payload lengths, field sizes and the codes inside the payloads.

// Message ids this program exchanges.
namespace MavMsg {
constexpr std::uint8_t Heartbeat = 0;
constexpr std::uint8_t SysStatus = 1;
constexpr std::uint8_t ParamRequestRead = 20;
constexpr std::uint8_t ParamRequestList = 21;
constexpr std::uint8_t ParamValue = 22;
constexpr std::uint8_t ParamSet = 23;
constexpr std::uint8_t RawImu = 27;
constexpr std::uint8_t Attitude = 30;
constexpr std::uint8_t RcChannelsRaw = 35;
constexpr std::uint8_t RequestDataStream = 66;
constexpr std::uint8_t CommandLong = 76;
constexpr std::uint8_t CommandAck = 77;
constexpr std::uint8_t SensorOffsets = 150;
constexpr std::uint8_t StatusText = 253;
} // namespace MavMsg

// Payload length of each message, by the names of MavMsg.
namespace MavLength {
constexpr std::uint8_t Heartbeat = 9;
constexpr std::uint8_t SysStatus = 31;
constexpr std::uint8_t ParamRequestRead = 20;
constexpr std::uint8_t ParamRequestList = 2;
constexpr std::uint8_t ParamValue = 25;
constexpr std::uint8_t ParamSet = 23;
constexpr std::uint8_t RawImu = 26;
constexpr std::uint8_t Attitude = 28;
constexpr std::uint8_t RcChannelsRaw = 22;
constexpr std::uint8_t RequestDataStream = 6;
constexpr std::uint8_t CommandLong = 33;
constexpr std::uint8_t CommandAck = 3;
constexpr std::uint8_t SensorOffsets = 42;
constexpr std::uint8_t StatusText = 51;
} // namespace MavLength

// Fixed-size fields: a parameter's name, a status text, the channels of
// RC_CHANNELS_RAW.
constexpr int kMavParamIdLength = 16;
constexpr int kMavStatusTextLength = 50;
constexpr int kMavRcChannels = 8;

// MAV_PARAM_TYPE: the type a parameter's value has on the FC. The value
// always travels as a 32-bit float; integer types carry their numeric value,
// never reinterpreted bits.
namespace ParamType {
constexpr std::uint8_t Uint8 = 1;
constexpr std::uint8_t Int8 = 2;
constexpr std::uint8_t Uint16 = 3;
constexpr std::uint8_t Int16 = 4;
constexpr std::uint8_t Uint32 = 5;
constexpr std::uint8_t Int32 = 6;
constexpr std::uint8_t Real32 = 9;
} // namespace ParamType

// MAV_SEVERITY of the status texts the FC sends.
namespace MavSeverity {
constexpr std::uint8_t Error = 3;
constexpr std::uint8_t Notice = 5;
constexpr std::uint8_t Info = 6;
} // namespace MavSeverity

// REQUEST_DATA_STREAM's stream ids.
namespace MavStream {
constexpr std::uint8_t All = 0;
constexpr std::uint8_t RawSensors = 1;
constexpr std::uint8_t ExtendedStatus = 2;
constexpr std::uint8_t RcChannels = 3;
constexpr std::uint8_t Position = 6;
constexpr std::uint8_t Extra1 = 10;
constexpr std::uint8_t Extra2 = 11;
constexpr std::uint8_t Extra3 = 12;
} // namespace MavStream

// HEARTBEAT base_mode's flag of an armed vehicle.
constexpr std::uint8_t kMavModeFlagSafetyArmed = 0x80;
