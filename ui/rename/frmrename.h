#pragma once

#include <optional>

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class ThumbnailListModel;

// The dialog that renames every Exif picture of the main list to its shooting date and time
// ("年月日_時分秒.jpg"), in list order, and relabels the list as it goes.
class frmRename : public QDialog
{
    Q_OBJECT

  public:
    explicit frmRename(QWidget *parent = nullptr);

    // Shows the dialog modally over the pictures of `list`, which lie in `folder` (ending in
    // "/"). Returns how many pictures OK renamed, or nothing when the dialog was cancelled.
    std::optional<int> run(const QString &folder, ThumbnailListModel *list);

    // Status panel 1's text after a run.
    static QString statusText(int done);

  private:
    void buildControls();
    void Form_Load();
    void RenOKbtn_Click();
    void RenHelpBtn_Click();

    QLabel *Label1[2] = {};
    QPushButton *RenOKbtn = nullptr;
    QPushButton *RenCancelBtn = nullptr;
    QPushButton *RenHelpBtn = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    QString m_folder;
    ThumbnailListModel *m_list = nullptr;
    std::optional<int> m_done;
};
