#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's icon, title and version, and a button that
// starts the desktop's system-information tool.
class frmAbout : public QDialog
{
    Q_OBJECT

  public:
    explicit frmAbout(QWidget *parent = nullptr);

    // "Version " and the program's major, minor and revision numbers.
    static QString versionText();

  public Q_SLOTS:
    void cmdSysInfo_Click();

  private:
    QLabel *addLabel(const char *name, const QString &text);
};
