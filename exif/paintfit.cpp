#include "exif/paintfit.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

QRect PaintFitRect(const QSize &source, const QSize &box)
{
    if (source.isEmpty() || box.isEmpty())
        return {};
    // Single precision on purpose: the drawn size must match what the list has always shown.
    const float scale = std::max(float(source.width()) / float(box.width()),
                                 float(source.height()) / float(box.height()));
    const float drawnWidth = float(source.width()) / scale;
    const float drawnHeight = float(source.height()) / scale;
    const float left = (float(box.width()) - drawnWidth) / 2.0f;
    const float top = (float(box.height()) - drawnHeight) / 2.0f;
    return QRect(int(std::lround(left)), int(std::lround(top)),
                 std::max(1, int(std::lround(drawnWidth))),
                 std::max(1, int(std::lround(drawnHeight))));
}

qint32 PaintFit(QImage &dest, const QImage &src, const QColor &background)
{
    return PaintFit(dest, src, background, src.size());
}

qint32 PaintFit(QImage &dest, const QImage &src, const QColor &background,
                const QSize &fullSourceSize)
{
    if (dest.isNull() || src.isNull())
        return -1;
    const QRect target = PaintFitRect(fullSourceSize, dest.size());
    if (target.isNull())
        return -1;

    QImage canvas = dest;
    // QPainter cannot draw on indexed or monochrome surfaces.
    if (canvas.format() == QImage::Format_Indexed8 || canvas.format() == QImage::Format_Mono ||
        canvas.format() == QImage::Format_MonoLSB)
        canvas = canvas.convertToFormat(QImage::Format_RGB32);
    canvas.fill(background);
    QPainter painter(&canvas);
    if (!painter.isActive())
        return -1;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, src);
    painter.end();
    dest = canvas;
    return 0;
}
