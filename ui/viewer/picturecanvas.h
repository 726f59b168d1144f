#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

// The natural-size view of the viewer: one screen pixel per picture pixel,
// showing the visible part of the picture at the scroll offset in its top
// left corner. Dragging with the left button scrolls the picture at twice the
// pointer's speed, never past its edges.
class PictureCanvas : public QWidget
{
    Q_OBJECT

  public:
    explicit PictureCanvas(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    void clearPicture();
    const QImage &picture() const { return m_picture; }

    // The part of the picture that fits; an offset beyond the new limits is
    // pulled back.
    void setVisibleSize(const QSize &visible);
    QSize visibleSize() const { return m_visible; }
    QPoint scrollOffset() const { return m_offset; }
    bool isDragging() const { return m_dragging; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void dragTo(const QPointF &pos);

    QImage m_picture;
    QSize m_visible;
    QPoint m_offset;
    bool m_dragging = false;
    QPointF m_lastPos;
};
