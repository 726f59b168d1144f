#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

// The error log window "ワーニング": one line per logged error, in the order logged. It exists,
// hidden, from start-up to exit; closing it only hides it, and its lines stay.
class FrmInfo : public QWidget
{
    Q_OBJECT

  public:
    explicit FrmInfo(QWidget *owner = nullptr);
    ~FrmInfo() override;

    // Makes LogError append its lines here from now on, until this window is destroyed.
    void installAsErrorLog();
    void appendLine(const QString &line);

    QListWidget *lines() const { return m_lstInfo; }
    QPushButton *hideButton() const { return m_cmdHide; }

  Q_SIGNALS:
    // A line was logged through LogError; the main window raises its alert panel.
    void errorLogged();

  protected:
    void resizeEvent(QResizeEvent *event) override;

  private:
    void layoutControls();
    int twips(double value) const;

    QListWidget *m_lstInfo;
    QPushButton *m_cmdHide;
    bool m_isErrorLog = false;
};
