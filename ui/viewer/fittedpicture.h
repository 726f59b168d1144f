#pragma once

#include <QImage>
#include <QWidget>

// The automatic-size view of the viewer: the whole picture stretched over the
// widget. It paints scaled from the picture it shares with the window, so a
// large picture is held once, not again as a pixmap and a scaled copy.
class FittedPicture : public QWidget
{
    Q_OBJECT

  public:
    explicit FittedPicture(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    void clearPicture();
    const QImage &picture() const { return m_picture; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QImage m_picture;
};
