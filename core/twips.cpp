#include "core/twips.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
constexpr double twipsPerInch = 1440.0;

double usableDpi(double logicalDpi)
{
    return logicalDpi > 0 ? logicalDpi : 96.0;
}
} // namespace

int twipsToPixels(double twips, double logicalDpi)
{
    // A stored length can be anything; keep the result a valid int.
    const double pixels = std::round(twips * usableDpi(logicalDpi) / twipsPerInch);
    if (!std::isfinite(pixels))
        return 0;
    return int(std::clamp(pixels, double(INT_MIN), double(INT_MAX)));
}

float pixelsToTwips(int pixels, double logicalDpi)
{
    return float(pixels * twipsPerInch / usableDpi(logicalDpi));
}
