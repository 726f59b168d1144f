#include "ui/viewer/fittedpicture.h"

#include <QPainter>

FittedPicture::FittedPicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FittedPicture::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void FittedPicture::clearPicture()
{
    m_picture = QImage();
    update();
}

void FittedPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    // Only the exposed part is drawn, sampled from the full picture.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}
