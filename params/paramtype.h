#pragma once

#include <QString>

#include <cstdint>

// The MAVLink parameter types (MAV_PARAM_TYPE) a value can have in a
// backup file. The value always travels as a 32-bit float; integer types
// carry their numeric value, never reinterpreted bits.
namespace ParamType {

constexpr std::uint8_t Uint8 = 1;
constexpr std::uint8_t Int8 = 2;
constexpr std::uint8_t Uint16 = 3;
constexpr std::uint8_t Int16 = 4;
constexpr std::uint8_t Uint32 = 5;
constexpr std::uint8_t Int32 = 6;
constexpr std::uint8_t Real32 = 9;

bool isKnown(int type);
bool isInteger(int type);

// Why a number cannot be stored in an integer type exactly as written:
// not whole, out of the type's range, or beyond what a float carries
// exactly. Empty when it can.
QString integerProblem(int type, double number);

// Whether the FC would store a and b as the same value: integer types by
// number, floats by their 32 bits.
bool sameStoredValue(int type, float a, float b);

// Integers as integers; floats with the fewest digits that read back to the
// identical 32-bit value (0.15, not 0.150000006).
QString valueText(float value, int type);

// Reads a decimal number as written in a file ("1500", "-0.15", "1e-45",
// "+3"); false for anything else, infinities and NaN included.
bool parseNumber(const QByteArray &text, double &number);
// The float nearest to the text's exact value; false when the text is not a
// number or lies beyond a float's range.
bool parseFloat(const QByteArray &text, float &value);

} // namespace ParamType
