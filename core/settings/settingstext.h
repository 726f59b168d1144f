#pragma once

#include <optional>

#include <QString>

// How settings values are kept as text: whole numbers in decimal, Booleans as
// "True"/"False", floating values with "." (read with "." or ","). Each parse
// gives nothing when the text does not convert to the type.

std::optional<qint16> parseInt16(const QString &text);
// Also accepts 2147483648..4294967295, the unsigned form of a colour value.
std::optional<qint32> parseInt32(const QString &text);
std::optional<float> parseFloat(const QString &text);
std::optional<double> parseDouble(const QString &text);
// "True"/"False" in any case, or a whole number (nonzero is true).
std::optional<bool> parseBool(const QString &text);

QString formatFloat(float value);   // shortest text that reads back the same
QString formatDouble(double value); // shortest text that reads back the same
QString formatBool(bool value);
