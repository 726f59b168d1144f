#include "ui/main/openedwindows.h"

#include <QCoreApplication>
#include <QEvent>

namespace
{

bool isOpenedWindow(const QWidget *widget)
{
    if (!widget->isWindow())
        return false;
    switch (widget->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Drawer:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

} // namespace

OpenedWindows::OpenedWindows(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

QList<QWidget *> OpenedWindows::mostRecentFirst() const
{
    QList<QWidget *> windows;
    for (auto it = m_opened.crbegin(); it != m_opened.crend(); ++it) {
        if (*it)
            windows.append(*it);
    }
    return windows;
}

// A window restored from the task bar gets a spontaneous show; it was not opened anew.
bool OpenedWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (isOpenedWindow(widget)) {
        m_opened.removeIf([widget](const QPointer<QWidget> &opened) {
            return opened.isNull() || opened == widget;
        });
        m_opened.append(widget);
    }
    return false;
}
