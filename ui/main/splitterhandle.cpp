#include "ui/main/splitterhandle.h"

#include <QMouseEvent>

SplitterHandle::SplitterHandle(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
}

void SplitterHandle::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed(event->position().toPoint().x());
}

// Moves arrive only while a button is held: the widget does not track the mouse otherwise.
void SplitterHandle::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        Q_EMIT moved(event->position().toPoint().x());
}

void SplitterHandle::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT released();
}
