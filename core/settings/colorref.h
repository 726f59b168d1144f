#pragma once

#include <QColor>
#include <QPalette>

// Stored colours are 0x00BBGGRR; a value with the top bit set, 0x800000nn, names the desktop's
// system colour nn, taken here from the application palette.
QColor colorFromColorRef(qint32 value, const QPalette &palette);

// The stored form of a plain colour, 0x00BBGGRR.
qint32 colorRefFromColor(const QColor &color);
