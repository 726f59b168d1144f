#include <gtest/gtest.h>

#include <memory>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QListView>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/scanfolder.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"

namespace
{

const QString kChooserTitle = QStringLiteral("希望のフォルダを選択して下さい。");

// The main window on a folder of a.jpg, b.jpg and c.jpg, with a backup of b.jpg.
class Form1FileOps : public testing::Test
{
  protected:
    Form1FileOps()
        : store(storeFolder.filePath(QStringLiteral("Tabilo.conf")), QSettings::IniFormat)
    {
        QStandardPaths::setTestModeEnabled(true);
        appSettings() = AppSettings{};
        form = std::make_unique<Form1>(store);
        appSettings().general.Jpg2Exif = 1;
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            pictures.addCamera(QString::fromLatin1(name));
        QDir().mkdir(pictures.file(QStringLiteral("Original")));
        pictures.addCamera(QStringLiteral("Original/b.jpg"));
        prompts.queueOpenFile(pictures.file(QStringLiteral("a.jpg")));
        form->command(QStringLiteral("mnuFileOpen"))->trigger();
        prompts.clear();
    }

    void select(const QList<int> &rows)
    {
        ThumbnailListModel &model = *form->thumbnailModel();
        form->listView()->setCurrentIndex(model.index(rows.first()));
        for (const int row : rows)
            form->listView()->selectionModel()->select(model.index(row),
                                                       QItemSelectionModel::Select);
        form->ListView1_ItemClick();
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < form->thumbnailModel()->rowCount(); ++row)
            names.append(form->thumbnailModel()->name(row));
        return names;
    }

    QString panel1() const { return form->statusPanel(1)->text(); }

    QTemporaryDir storeFolder;
    QSettings store;
    ScanFolder pictures;
    QTemporaryDir destination;
    RecordingPrompter prompts;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1FileOps, CopyAsksOnceAndTakesTheBackupAlong)
{
    EXPECT_FALSE(form->command(QStringLiteral("mnuFileCopy"))->isEnabled());
    select({1, 2});
    EXPECT_TRUE(form->command(QStringLiteral("mnuFileCopy"))->isEnabled());
    prompts.queueFolder(destination.path());
    prompts.queueAnswer(PromptAnswer::Yes);
    form->command(QStringLiteral("mnuFileCopy"))->trigger();

    ASSERT_EQ(prompts.requests().size(), 2);
    EXPECT_EQ(prompts.requests()[0].title, kChooserTitle);
    EXPECT_EQ(prompts.requests()[0].startFolder, QString());
    EXPECT_EQ(prompts.requests()[1].icon, PromptIcon::Question);
    EXPECT_EQ(prompts.requests()[1].title, QStringLiteral("ﾌｧｲﾙのｺﾋﾟｰ"));
    EXPECT_EQ(prompts.requests()[1].text,
              QStringLiteral("選択したﾌｧｲﾙを ") + destination.path() +
                  QStringLiteral(" へｺﾋﾟｰします。\r\nバックアップファイルがある場合は\r\n"
                                 "それらも同時にコピーされます。"));
    EXPECT_EQ(panel1(), QStringLiteral(" 2 ﾌｧｲﾙをCOPYしました。"));
    EXPECT_EQ(QDir(destination.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}));
    EXPECT_TRUE(QFile::exists(destination.filePath(QStringLiteral("Original/b.jpg"))));
    EXPECT_EQ(listed().size(), 3);

    // The pop-up twin opens the chooser where the last one ended; a clash asks before anything.
    prompts.clear();
    prompts.queueFolder(destination.path());
    prompts.queueAnswer(PromptAnswer::Yes);
    prompts.queueAnswer(PromptAnswer::Cancel);
    form->command(QStringLiteral("popCopyFile"))->trigger();
    ASSERT_EQ(prompts.requests().size(), 3);
    EXPECT_EQ(prompts.requests()[0].startFolder, destination.path());
    EXPECT_EQ(prompts.requests()[2].buttons, PromptButtons::YesAllNoCancel);
    EXPECT_EQ(prompts.requests()[2].text,
              destination.filePath(QStringLiteral("b.jpg")) +
                  QStringLiteral(" は既に存在します。\r\n上書きしますか?"));
    EXPECT_EQ(panel1(), QStringLiteral(" 0 ﾌｧｲﾙをCOPYしました。"));
    prompts.expectAllAnswered();
}

TEST_F(Form1FileOps, MoveRefusesItsOwnFolderAndTakesMovedPicturesOffTheList)
{
    select({0, 1});
    prompts.queueFolder(pictures.path() + QStringLiteral("Original"));
    prompts.queueAnswer(PromptAnswer::Ok);
    form->command(QStringLiteral("mnuFileMove"))->trigger();
    ASSERT_EQ(prompts.requests().size(), 2);
    EXPECT_EQ(prompts.requests()[1].icon, PromptIcon::Exclamation);
    EXPECT_EQ(prompts.requests()[1].text,
              pictures.path() +
                  QStringLiteral("Original は選択したﾌｧｲﾙのﾌｫﾙﾀﾞです。\r\n移動できません。"));
    EXPECT_EQ(panel1(), QStringLiteral(" 0 ﾌｧｲﾙを移動しました。"));

    prompts.clear();
    prompts.queueFolder(destination.path());
    prompts.queueAnswer(PromptAnswer::Yes);
    form->command(QStringLiteral("mnuFileMove"))->trigger();
    EXPECT_EQ(prompts.requests()[1].title, QStringLiteral("ﾌｧｲﾙの移動"));
    EXPECT_EQ(panel1(), QStringLiteral(" 2 ﾌｧｲﾙを移動しました。"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("c.jpg")});
    EXPECT_TRUE(QFile::exists(destination.filePath(QStringLiteral("Original/b.jpg"))));
    EXPECT_FALSE(QFile::exists(pictures.file(QStringLiteral("Original/b.jpg"))));
    prompts.expectAllAnswered();
}

TEST_F(Form1FileOps, DeleteAsksOnceTrashesThePicturesAndKeepsTheirBackups)
{
    select({1});
    prompts.queueAnswer(PromptAnswer::Yes);
    form->command(QStringLiteral("popDelFile"))->trigger();
    ASSERT_EQ(prompts.requests().size(), 1);
    EXPECT_EQ(prompts.requests()[0].title, QStringLiteral("ﾌｧｲﾙの削除"));
    EXPECT_EQ(prompts.requests()[0].text,
              QStringLiteral("選択した 1 個のﾌｧｲﾙをごみ箱に移動します。\r\nよろしいですか?"));
    EXPECT_EQ(panel1(), QStringLiteral(" 1 ﾌｧｲﾙを削除しました。"));
    EXPECT_EQ(listed(), QStringList({QStringLiteral("a.jpg"), QStringLiteral("c.jpg")}));
    EXPECT_FALSE(QFile::exists(pictures.file(QStringLiteral("b.jpg"))));
    EXPECT_TRUE(QFile::exists(pictures.file(QStringLiteral("Original/b.jpg"))));
}

} // namespace
