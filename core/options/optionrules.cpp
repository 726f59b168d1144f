#include "core/options/optionrules.h"

#include <cmath>

std::optional<int> slideIntervalFromText(const QString &text)
{
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value))
        return std::nullopt;
    const double whole = std::nearbyint(value); // the default rounding mode: halves to even
    if (whole < 1 || whole > 60)
        return std::nullopt;
    return int(whole);
}

DefaultProgramChoice defaultProgramChoice(const std::array<QString, 3> &paths,
                                          std::optional<int> chosenRow)
{
    if (chosenRow && *chosenRow >= 0 && *chosenRow < 3 && !paths[size_t(*chosenRow)].isEmpty())
        return {chosenRow, true};
    for (int row = 0; row < 3; ++row) {
        if (!paths[size_t(row)].isEmpty())
            return {row, false};
    }
    return {std::nullopt, false};
}
