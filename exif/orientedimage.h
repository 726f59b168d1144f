#pragma once

#include <QImage>
#include <QSize>

// Showing a picture as its Exif Orientation tag (0x0112) says. Cameras keep the picture as the
// sensor saw it and record how it is to be shown; the Exif thumbnail is stored as the main
// picture is, so the same value applies to it.
namespace ExifOrientation
{
constexpr int Upright = 1;
constexpr int MirroredLeftRight = 2;
constexpr int Turned180 = 3;
constexpr int MirroredTopBottom = 4;
constexpr int Transposed = 5;  // mirrored about the top-left to bottom-right diagonal
constexpr int TurnedRight = 6; // to be turned a quarter clockwise
constexpr int Transverse = 7;  // mirrored about the top-right to bottom-left diagonal
constexpr int TurnedLeft = 8;  // to be turned a quarter counter-clockwise
} // namespace ExifOrientation

// The tag's value as an orientation: anything but 1-8 (a damaged or missing tag) is upright.
int knownOrientation(quint32 tagValue);

// Whether a picture shown in `orientation` has its width and height swapped (5-8).
bool orientationSwapsSides(int orientation);

// The size at which a picture stored at `stored` is shown.
QSize shownSize(const QSize &stored, int orientation);

// The stored picture as `orientation` says it is shown. Every transform moves whole pixels, so
// no pixel value changes; an unknown orientation leaves the picture as it is.
QImage shownImage(const QImage &stored, int orientation);
