#pragma once

#include <array>
#include <optional>

#include <QString>

// The rules the options dialog applies to what the user types and chooses, apart from the
// controls that show them.

// The slide interval `text` names: the number rounded to whole seconds (halves to even);
// none when the text is not a number or the seconds lie outside 1..60.
std::optional<int> slideIntervalFromText(const QString &text);

// The default external program after OK: which of the three rows is chosen and whether the
// "start at once on double click" box stays ticked.
struct DefaultProgramChoice {
    std::optional<int> row; // none: no row has a path, the stored choice stays
    bool keepDirect = false;
};

// A chosen row whose path is filled stays chosen, with the box as it was. Otherwise the
// box is cleared and the first row with a path is chosen, if any.
DefaultProgramChoice defaultProgramChoice(const std::array<QString, 3> &paths,
                                          std::optional<int> chosenRow);
