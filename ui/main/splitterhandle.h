#pragma once

#include <QWidget>

// The thin strip between the thumbnail list and the information panel that the user drags.
// It draws nothing, so the list's frame stays visible under it; it reports the mouse's x
// position relative to itself, in pixels.
class SplitterHandle : public QWidget
{
    Q_OBJECT

  public:
    explicit SplitterHandle(QWidget *parent = nullptr);

  Q_SIGNALS:
    void pressed(int x);
    void moved(int x);
    void released();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
