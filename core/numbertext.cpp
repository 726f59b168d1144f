#include "core/numbertext.h"

#include <charconv>
#include <cmath>

namespace
{

template <typename Number> QString shortestText(Number value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace

QString fixedDecimalText(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const double factor = std::pow(10.0, decimals);
    double rounded = std::round(value * factor) / factor;
    if (rounded == 0.0)
        rounded = 0.0; // no "-0.0"
    return QString::number(rounded, 'f', decimals);
}

QString shortestDecimalText(double value)
{
    return shortestText(value);
}

QString shortestDecimalText(float value)
{
    return shortestText(value);
}
