#include "ui/main/statuspanel.h"

#include <QMouseEvent>

namespace
{

const QColor kAlertBackground(0xff, 0xc8, 0x3c);
const QColor kAlertText(0x40, 0x20, 0x00);

} // namespace

StatusPanel::StatusPanel(int index, const QString &key, const QString &toolTip, QWidget *parent)
    : QLabel(parent), m_index(index)
{
    setObjectName(key);
    setToolTip(toolTip);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMargin(1);
    setMinimumHeight(fontMetrics().height() + 6);
}

void StatusPanel::setBevel(Bevel bevel)
{
    m_bevel = bevel;
    const bool alert = bevel == Bevel::Raised;
    setFrameShadow(alert ? QFrame::Raised : QFrame::Sunken);
    setLineWidth(alert ? 2 : 1);
    setAutoFillBackground(alert);
    if (!alert) {
        setPalette(QPalette()); // an empty palette inherits the status bar's colours again
        return;
    }
    QPalette look = palette();
    look.setColor(QPalette::Window, kAlertBackground);
    look.setColor(QPalette::WindowText, kAlertText);
    setPalette(look);
}

void StatusPanel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked(m_index);
}
