#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// The program's windows in the order they were opened, so that shutdown can close them most
// recently opened first. A window shown again counts as opened again. Pop-up menus, tool tips
// and the like are not windows the user opened and are left out.
class OpenedWindows : public QObject
{
  public:
    // Watches every window the application shows from now on.
    explicit OpenedWindows(QObject *parent);

    // The windows still there, most recently opened first.
    QList<QWidget *> mostRecentFirst() const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QList<QPointer<QWidget>> m_opened; // oldest first
};
