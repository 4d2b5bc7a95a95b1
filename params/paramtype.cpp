#include "paramtype.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>
#include <cstring>

namespace ParamType {

namespace {

struct IntegerRange
{
    double lowest;
    double highest;
};

bool integerRange(int type, IntegerRange &range)
{
    switch (type) {
    case Uint8:
        range = {0, 255};
        return true;
    case Int8:
        range = {-128, 127};
        return true;
    case Uint16:
        range = {0, 65535};
        return true;
    case Int16:
        range = {-32768, 32767};
        return true;
    case Uint32:
        range = {0, 4294967295.0};
        return true;
    case Int32:
        range = {-2147483648.0, 2147483647.0};
        return true;
    default:
        return false;
    }
}

QString tr(const char *text)
{
    return QCoreApplication::translate("ParamType", text);
}

// from_chars takes no leading plus sign and must use up the whole text.
template <typename T> bool fromText(const QByteArray &text, T &out)
{
    const char *begin = text.constData();
    const char *end = begin + text.size();
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    const std::from_chars_result result = std::from_chars(begin, end, out);
    return result.ec == std::errc() && result.ptr == end && begin != end;
}

} // namespace

bool isKnown(int type)
{
    IntegerRange range;
    return type == Real32 || integerRange(type, range);
}

bool isInteger(int type)
{
    IntegerRange range;
    return integerRange(type, range);
}

QString integerProblem(int type, double number)
{
    IntegerRange range;
    if (!integerRange(type, range))
        return QString();
    if (number != std::trunc(number))
        return tr("value is not a whole number");
    if (number < range.lowest || number > range.highest)
        return tr("value is out of range (%1 to %2)")
            .arg(range.lowest, 0, 'f', 0)
            .arg(range.highest, 0, 'f', 0);
    if (double(float(number)) != number)
        return tr("value is too large to send exactly");
    return QString();
}

bool sameStoredValue(int type, float a, float b)
{
    if (isInteger(type))
        return a == b;
    std::uint32_t bitsA;
    std::uint32_t bitsB;
    std::memcpy(&bitsA, &a, sizeof a);
    std::memcpy(&bitsB, &b, sizeof b);
    return bitsA == bitsB;
}

QString valueText(float value, int type)
{
    if (isInteger(type) && std::isfinite(value) && value == std::trunc(value) &&
        std::fabs(value) < 1e18f)
        return QString::number(static_cast<long long>(value));
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

QString typeName(int type)
{
    switch (type) {
    case Uint8:
        return QStringLiteral("UINT8");
    case Int8:
        return QStringLiteral("INT8");
    case Uint16:
        return QStringLiteral("UINT16");
    case Int16:
        return QStringLiteral("INT16");
    case Uint32:
        return QStringLiteral("UINT32");
    case Int32:
        return QStringLiteral("INT32");
    case Real32:
        return QStringLiteral("REAL32");
    default:
        return QString::number(type);
    }
}

int typeNamed(const QString &name)
{
    for (int type : {Uint8, Int8, Uint16, Int16, Uint32, Int32, Real32}) {
        if (typeName(type) == name)
            return type;
    }
    return 0;
}

bool parseNumber(const QByteArray &text, double &number)
{
    return fromText(text, number) && std::isfinite(number);
}

bool parseFloat(const QByteArray &text, float &value)
{
    return fromText(text, value) && std::isfinite(value);
}

} // namespace ParamType
