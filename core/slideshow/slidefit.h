#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

// Where a picture of `natural` pixels lands on a slide show screen of `screen` pixels: reduced
// by the larger of its two ratios to the screen when it is larger, never enlarged, centred.
struct SlideFit {
    QRect drawn;     // empty when either size is empty
    int percent = 0; // the scale, rounded down
};

SlideFit slideFit(QSize natural, QSize screen);

// The screen's picture: `background` with `picture` (the whole picture at any scale, of which
// `natural` is the full size) drawn into slideFit's rectangle. Null for an empty screen.
QImage composeSlide(const QImage &picture, QSize natural, QSize screen, const QColor &background);
