#include "ui/rename/frmrename.h"

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "core/scan/thumbnaillistmodel.h"
#include "tests/support/qtprinters.h"
#include "tests/support/scanfolder.h"
#include "ui/help/help.h"
#include "ui/help/helpwindow.h"

namespace
{

// Once the dialog shows, notes its labels, clicks `buttons` in turn and notes the progress bar.
struct DialogRun {
    QStringList labels;
    bool barShown = false;
};

std::optional<int> runDialog(frmRename &dialog, const ScanFolder &folder, ThumbnailListModel &list,
                             const QStringList &buttons, DialogRun &seen)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&, poll] {
        if (!dialog.isVisible()) {
            QTimer::singleShot(10, *poll);
            return;
        }
        for (const QLabel *label : dialog.findChildren<QLabel *>())
            seen.labels.append(label->text());
        for (const QString &button : buttons)
            dialog.findChild<QPushButton *>(button)->click();
        seen.barShown = !dialog.findChild<QProgressBar *>()->isHidden();
    };
    QTimer::singleShot(0, *poll);
    return dialog.run(folder.path(), &list);
}

void fill(ThumbnailListModel &list, const QStringList &names)
{
    for (const QString &name : names)
        list.append(name, true, QString(), QByteArray());
}

QImage noPicture(const QByteArray &, QSize)
{
    return QImage();
}

} // namespace

// OK renames the listed Exif pictures and relabels them; the bar shows for more than one.
TEST(FrmRename, OkRenamesAndRelabelsTheList)
{
    ScanFolder folder;
    CameraShot shot;
    shot.date = "2003:05:17 14:02:09";
    folder.addCamera(QStringLiteral("a.jpg"), shot);
    folder.addCamera(QStringLiteral("b.jpg"), shot);
    folder.addPlain(QStringLiteral("c.jpg"));
    ThumbnailListModel list(noPicture);
    fill(list, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
    frmRename dialog;
    DialogRun seen;
    EXPECT_EQ(runDialog(dialog, folder, list, {QStringLiteral("RenOKbtn")}, seen), 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾘﾈｰﾑ"));
    EXPECT_EQ(seen.labels, QStringList({QStringLiteral("現在表示している画像のﾌｧｲﾙ名を \r\n\r\n"
                                                       "年月日_時分秒.jpg に変更します。"),
                                        QStringLiteral("万一に備えてﾊﾞｯｸｱｯﾌﾟを取ってから\r\n\r\n"
                                                       "実行して下さい。")}));
    EXPECT_TRUE(seen.barShown);
    const QStringList renamed = {QStringLiteral("20030517_140209.jpg"),
                                 QStringLiteral("20030517_140209_1.jpg"), QStringLiteral("c.jpg")};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list.name(row), renamed[row]);
        EXPECT_TRUE(QFile::exists(folder.file(renamed[row]))) << row;
    }
    EXPECT_EQ(frmRename::statusText(2), QStringLiteral("2 ﾌｧｲﾙをﾘﾈｰﾑしました。"));
}

// Help shows the topic of context 2000 and Cancel renames nothing; one picture gets no bar.
TEST(FrmRename, HelpAndCancelRenameNothing)
{
    ScanFolder folder;
    folder.addCamera(QStringLiteral("a.jpg"));
    ThumbnailListModel list(noPicture);
    fill(list, {QStringLiteral("a.jpg")});
    frmRename dialog;
    DialogRun seen;
    const QStringList buttons = {QStringLiteral("RenHelpBtn"), QStringLiteral("RenCancelBtn")};
    EXPECT_EQ(runDialog(dialog, folder, list, buttons, seen), std::nullopt);
    EXPECT_EQ(list.name(0), QStringLiteral("a.jpg"));
    HelpWindow *help = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        help = help ? help : qobject_cast<HelpWindow *>(window);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentTopic(), QStringLiteral("rename.html"));
    closeAllHelp();

    EXPECT_EQ(runDialog(dialog, folder, list, {QStringLiteral("RenOKbtn")}, seen), 1);
    EXPECT_FALSE(seen.barShown);
}
