#include "pages/reportedvalue.h"

#include <limits>
#include <optional>

namespace {
std::optional<int> saturated(double value)
{
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return std::nullopt;
}
} // namespace

int roundedInt(const QVariant &value)
{
    if (const std::optional<int> bound = saturated(value.toDouble()))
        return *bound;
    return value.toInt();
}

int truncatedInt(float value)
{
    if (const std::optional<int> bound = saturated(double(value)))
        return *bound;
    return static_cast<int>(value);
}
