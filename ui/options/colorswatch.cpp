#include "ui/options/colorswatch.h"

#include "core/settings/colorref.h"

#include <QApplication>

ColorSwatch::ColorSwatch(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setAutoFillBackground(true);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
}

qint32 ColorSwatch::colorRef(Part part) const
{
    return part == Part::Background ? m_background : m_text;
}

void ColorSwatch::setColorRef(Part part, qint32 value)
{
    (part == Part::Background ? m_background : m_text) = value;
    repaintColors();
}

QColor ColorSwatch::shownColor(Part part) const
{
    return colorFromColorRef(colorRef(part), QApplication::palette());
}

void ColorSwatch::repaintColors()
{
    QPalette colors = palette();
    colors.setColor(QPalette::Window, shownColor(Part::Background));
    colors.setColor(QPalette::WindowText, shownColor(Part::Text));
    setPalette(colors);
}
