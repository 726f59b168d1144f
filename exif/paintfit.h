#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

// Where a picture of size `source` lands when fitted whole and centred into a box of size
// `box`: scaled by the larger of the two ratios (single precision), aspect kept, rounded to
// whole pixels. A null rectangle when either size is empty.
QRect PaintFitRect(const QSize &source, const QSize &box);

// Clears `dest` to `background` and paints `src` into it, fitted and centred as PaintFitRect
// says. Returns 0 on success and -1 on failure (an empty box or picture), leaving `dest`
// untouched.
qint32 PaintFit(QImage &dest, const QImage &src, const QColor &background);

// The same, for a source decoded at a reduced scale: the geometry is taken from the picture's
// full size `fullSourceSize`, so the result matches a full decode fitted into `dest`.
qint32 PaintFit(QImage &dest, const QImage &src, const QColor &background,
                const QSize &fullSourceSize);
