#pragma once

#include <QString>

// Number texts of the information panel. A point is always the decimal separator.

// `value` with exactly `decimals` decimal places, halves rounded away from zero
// (the "0" and "0.0" patterns).
QString fixedDecimalText(double value, int decimals);

// The shortest text that reads back as the same number ("28", "5.4", "10.8125").
QString shortestDecimalText(double value);
QString shortestDecimalText(float value);
