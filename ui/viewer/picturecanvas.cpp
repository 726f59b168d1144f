#include "ui/viewer/picturecanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/viewer/viewergeometry.h"

PictureCanvas::PictureCanvas(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void PictureCanvas::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_offset = QPoint(0, 0);
    update();
}

void PictureCanvas::clearPicture()
{
    m_picture = QImage();
    m_offset = QPoint(0, 0);
    m_dragging = false;
    update();
}

void PictureCanvas::setVisibleSize(const QSize &visible)
{
    m_visible = visible;
    // A step of no distance applies the limits of the new size; a picture
    // shorter than the window has none to scroll, so its offset becomes 0.
    dragTo(m_lastPos);
}

void PictureCanvas::dragTo(const QPointF &pos)
{
    m_offset.setX(
        draggedOffset(m_offset.x(), m_lastPos.x(), pos.x(), m_picture.width(), m_visible.width()));
    m_offset.setY(draggedOffset(m_offset.y(), m_lastPos.y(), pos.y(), m_picture.height(),
                                m_visible.height()));
    m_lastPos = pos;
    update();
}

void PictureCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (m_picture.isNull())
        return;
    painter.drawImage(QPoint(0, 0), m_picture, QRect(m_offset, m_visible));
}

void PictureCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragging = true;
    m_lastPos = event->position().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void PictureCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        event->ignore();
        return;
    }
    dragTo(event->position().toPoint());
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        setCursor(Qt::OpenHandCursor);
    }
    // The window also sees the release (its right-button pop-up).
    event->ignore();
}
