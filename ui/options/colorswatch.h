#pragma once

#include <QLabel>

// A label that shows a stored colour (0x00BBGGRR, or a system colour 0x800000nn) as its
// background or its text colour, and keeps the stored value itself, so an untouched system
// colour is committed as the system colour it is.
class ColorSwatch : public QLabel
{
    Q_OBJECT

  public:
    enum class Part { Background, Text };

    ColorSwatch(const QString &text, QWidget *parent = nullptr);

    qint32 colorRef(Part part) const;
    void setColorRef(Part part, qint32 value);
    QColor shownColor(Part part) const;

  private:
    void repaintColors();

    qint32 m_background = 0;
    qint32 m_text = 0;
};
