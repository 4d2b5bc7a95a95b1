#pragma once

#include "mavlink/messageset.h"

#include <QString>

// What a value of each parameter type (ParamType::Int8 and the others) can
// hold, and how it reads and prints in a backup file.
namespace ParamType {

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

// "INT8", "REAL32" and the others as MAVLink names them; an unknown type as
// its number. typeNamed() reads such a name back: 0 for none.
QString typeName(int type);
int typeNamed(const QString &name);

// Reads a decimal number as written in a file ("1500", "-0.15", "1e-45",
// "+3"); false for anything else, infinities and NaN included.
bool parseNumber(const QByteArray &text, double &number);
// The float nearest to the text's exact value; false when the text is not a
// number or lies beyond a float's range.
bool parseFloat(const QByteArray &text, float &value);

} // namespace ParamType
