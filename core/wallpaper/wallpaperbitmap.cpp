#include "core/wallpaper/wallpaperbitmap.h"

#include <cmath>

#include <QPainter>

#include "exif/paintfit.h"

QSize workAreaPixels(const QSize &logicalSize, qreal devicePixelRatio)
{
    return QSize(int(std::lround(logicalSize.width() * devicePixelRatio)),
                 int(std::lround(logicalSize.height() * devicePixelRatio)));
}

QSize wallpaperBitmapSize(WallpaperArrangement arrangement, const QSize &picture,
                          const QSize &workArea)
{
    switch (arrangement) {
    case WallpaperArrangement::Stretch:
    case WallpaperArrangement::Fit:
        return workArea;
    case WallpaperArrangement::Center:
    case WallpaperArrangement::Tile:
        break;
    }
    return picture;
}

bool wallpaperTiled(WallpaperArrangement arrangement)
{
    return arrangement == WallpaperArrangement::Tile;
}

QImage renderWallpaper(const QImage &picture, WallpaperArrangement arrangement,
                       const QSize &workArea, const QColor &desktopColor)
{
    const QSize size = wallpaperBitmapSize(arrangement, picture.size(), workArea);
    if (picture.isNull() || size.isEmpty())
        return {};
    if (size == picture.size() && arrangement != WallpaperArrangement::Fit)
        return picture.convertToFormat(QImage::Format_RGB32);
    QImage bitmap(size, QImage::Format_RGB32);
    if (arrangement == WallpaperArrangement::Fit) {
        PaintFit(bitmap, picture, desktopColor);
        return bitmap;
    }
    QPainter painter(&bitmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
    return bitmap;
}
