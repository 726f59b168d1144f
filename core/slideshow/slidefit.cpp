#include "core/slideshow/slidefit.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

SlideFit slideFit(QSize natural, QSize screen)
{
    SlideFit fit;
    if (natural.isEmpty() || screen.isEmpty())
        return fit;
    const double ratio = std::max(double(natural.width()) / screen.width(),
                                  double(natural.height()) / screen.height());
    QSize drawn = natural;
    if (ratio >= 1) {
        drawn = QSize(std::max(1, int(std::lround(natural.width() / ratio))),
                      std::max(1, int(std::lround(natural.height() / ratio))));
    }
    fit.drawn =
        QRect(QPoint((screen.width() - drawn.width()) / 2, (screen.height() - drawn.height()) / 2),
              drawn);
    // Int(100 / ratio) in whole numbers, so that an exact 36% is not read as 35.99.
    const qint64 byWidth = 100 * qint64(screen.width()) / natural.width();
    const qint64 byHeight = 100 * qint64(screen.height()) / natural.height();
    fit.percent = int(std::min<qint64>({100, byWidth, byHeight}));
    return fit;
}

QImage composeSlide(const QImage &picture, QSize natural, QSize screen, const QColor &background)
{
    if (screen.isEmpty())
        return QImage();
    QImage slide(screen, QImage::Format_RGB32);
    const QRect drawn = slideFit(natural, screen).drawn;
    QPainter painter(&slide);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // Only the margins need the background; the picture covers the rest.
    const QRegion margins = QRegion(slide.rect()).subtracted(drawn);
    for (const QRect &margin : margins)
        painter.fillRect(margin, background);
    if (picture.isNull() || drawn.isEmpty())
        return slide;
    // The decode is at most twice the drawn size, where one bilinear pass keeps the detail.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, picture.size() != drawn.size());
    painter.drawImage(QRectF(drawn), picture);
    return slide;
}
