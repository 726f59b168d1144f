#pragma once

#include <optional>

#include <QString>

// The name a picture takes from its shooting date: "YYYYMMDD_hhmmss", from the fixed character
// positions of the reader's date text ("2003/05/17 14:02:09"). Nothing when any of the fourteen
// digit positions holds something else than an ASCII digit (no date tag, a damaged date), so
// that a file's bytes can never make a name of blanks or one that leaves its folder.
std::optional<QString> dateNameOf(const QString &dateText);

// base "_" counter ".jpg": the numbered name of the counter-th picture of the same second.
QString numberedDateName(const QString &dateName, int counter);
