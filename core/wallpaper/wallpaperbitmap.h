#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// The four ways a picture becomes the desktop's wallpaper, numbered as the dialog's
// options are.
enum class WallpaperArrangement { Stretch = 1, Fit = 2, Center = 3, Tile = 4 };

// The work area in device pixels: its logical size times the screen's pixel ratio.
QSize workAreaPixels(const QSize &logicalSize, qreal devicePixelRatio);

// The bitmap's size: the work area when the picture is stretched or fitted into it, the
// picture's own size when it is centred or tiled.
QSize wallpaperBitmapSize(WallpaperArrangement arrangement, const QSize &picture,
                          const QSize &workArea);

// Whether the desktop repeats the bitmap (the desktop's tiled setting).
bool wallpaperTiled(WallpaperArrangement arrangement);

// The bitmap the desktop shows: `picture` stretched over the work area, fitted into it on
// `desktopColor` margins, or as it is. A null image when the picture or work area is empty.
QImage renderWallpaper(const QImage &picture, WallpaperArrangement arrangement,
                       const QSize &workArea, const QColor &desktopColor);
