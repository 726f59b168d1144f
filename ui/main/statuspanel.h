#pragma once

#include <QLabel>

// One keyed panel of the main window's status bar. It looks sunken normally and raised, in an
// alert colour, while something waits for the user's attention; a click emits clicked().
class StatusPanel : public QLabel
{
    Q_OBJECT

  public:
    enum class Bevel { Sunken = 1, Raised = 2 };

    StatusPanel(int index, const QString &key, const QString &toolTip, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QString key() const { return objectName(); }
    Bevel bevel() const { return m_bevel; }
    void setBevel(Bevel bevel);

  Q_SIGNALS:
    void clicked(int index);

  protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    int m_index;
    Bevel m_bevel = Bevel::Sunken;
};
