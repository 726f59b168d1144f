#include "ui/rotate/samplepictures.h"

#include <QFont>
#include <QPainter>
#include <QTransform>

namespace
{

QImage unturnedSample(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(200, 220, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(side / 2.0, side / 2.0);
    painter.rotate(-12);
    const QRectF card(-side * 0.3, -side * 0.38, side * 0.6, side * 0.76);
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(QColor(255, 250, 235));
    painter.drawRoundedRect(card, 6, 6);
    QFont font;
    font.setPixelSize(side / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(200, 30, 30));
    painter.drawText(card, Qt::AlignCenter, QStringLiteral("F"));
    return image;
}

} // namespace

QImage rotationSample(int code, int side)
{
    static const qreal kDegrees[4] = {0, 90, 180, 270};
    const QImage unturned = unturnedSample(side);
    if (code <= 0 || code > 3)
        return unturned;
    return unturned.transformed(QTransform().rotate(kDegrees[code]));
}
