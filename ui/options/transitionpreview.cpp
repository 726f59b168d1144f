#include "ui/options/transitionpreview.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QImage previewSamplePicture(const QSize &size, bool day)
{
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, day ? QColor(70, 140, 230) : QColor(40, 30, 90));
    sky.setColorAt(1, day ? QColor(200, 230, 255) : QColor(250, 140, 60));
    painter.fillRect(picture.rect(), sky);

    const qreal w = size.width();
    const qreal h = size.height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(day ? QColor(255, 240, 120) : QColor(255, 200, 150));
    painter.drawEllipse(QPointF(w * (day ? 0.75 : 0.3), h * (day ? 0.25 : 0.55)), h * 0.08,
                        h * 0.08);
    QPainterPath hills(QPointF(0, h));
    hills.lineTo(0, h * 0.7);
    hills.cubicTo(w * 0.25, h * 0.5, w * 0.45, h * 0.85, w * 0.65, h * 0.65);
    hills.cubicTo(w * 0.8, h * 0.5, w * 0.9, h * 0.6, w, h * 0.62);
    hills.lineTo(w, h);
    painter.setBrush(day ? QColor(60, 150, 70) : QColor(30, 40, 50));
    painter.drawPath(hills);
    return picture;
}
