#include "ui/rename/frmrename.h"

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "tests/support/scanfolder.h"
#include "ui/help/help.h"
#include "ui/help/helpwindow.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"

namespace
{

// Runs `act` on the rename dialog once it is shown.
void actOnRenameDialog(const std::function<void(QWidget *)> &act)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, poll] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            act(dialog);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

void click(QWidget *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(QString::fromLatin1(button))->click();
}

class FrmRenameTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        appSettings() = AppSettings{};
        m_store = std::make_unique<QSettings>(m_storeFolder.filePath(QStringLiteral("Tabilo.conf")),
                                              QSettings::IniFormat);
        m_form = std::make_unique<Form1>(*m_store);
        appSettings().general.Jpg2Exif = 1;
    }

    // Opens the dialog from the toolbar and lets `act` answer it.
    void runDialog(const std::function<void(QWidget *)> &act)
    {
        actOnRenameDialog(act);
        m_form->toolButton(QStringLiteral("Rename"))->trigger();
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < m_form->thumbnailModel()->rowCount(); ++row)
            names.append(m_form->thumbnailModel()->name(row));
        return names;
    }

    QString panel1() const { return m_form->statusPanel(1)->text(); }

    QTemporaryDir m_storeFolder;
    ScanFolder m_folder;
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<Form1> m_form;
};

CameraShot shotAt(const QByteArray &date)
{
    CameraShot shot;
    shot.date = date;
    return shot;
}

} // namespace

// OK renames the listed Exif pictures, relabels them and counts them in panel 1; the progress
// bar shows for a list of more than one. The one dialog serves every opening.
TEST_F(FrmRenameTest, OkRenamesTheListedExifPictures)
{
    m_folder.addCamera(QStringLiteral("a.jpg"), shotAt("2003:05:17 14:02:09"));
    m_folder.addCamera(QStringLiteral("b.jpg"), shotAt("2003:05:17 14:02:09"));
    m_folder.addPlain(QStringLiteral("c.jpg"));
    m_form->openStartPath(m_folder.path());
    QStringList texts;
    bool barShown = false;
    runDialog([&](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ﾘﾈｰﾑ"));
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            texts.append(label->text());
        click(dialog, "RenOKbtn");
        barShown = !dialog->findChild<QProgressBar *>()->isHidden();
    });
    EXPECT_EQ(texts, QStringList({QStringLiteral("現在表示している画像のﾌｧｲﾙ名を \r\n\r\n"
                                                 "年月日_時分秒.jpg に変更します。"),
                                  QStringLiteral("万一に備えてﾊﾞｯｸｱｯﾌﾟを取ってから\r\n\r\n"
                                                 "実行して下さい。")}));
    EXPECT_TRUE(barShown);
    const QStringList expected = {QStringLiteral("20030517_140209.jpg"),
                                  QStringLiteral("20030517_140209_1.jpg"), QStringLiteral("c.jpg")};
    EXPECT_EQ(listed(), expected);
    for (const QString &name : expected)
        EXPECT_TRUE(QFile::exists(m_folder.file(name))) << name.toStdString();
    EXPECT_EQ(panel1(), QStringLiteral("2 ﾌｧｲﾙをﾘﾈｰﾑしました。"));

    runDialog([](QWidget *dialog) { click(dialog, "RenOKbtn"); });
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(panel1(), QStringLiteral("0 ﾌｧｲﾙをﾘﾈｰﾑしました。"));
    EXPECT_EQ(m_form->findChildren<frmRename *>().size(), 1);
}

// Cancel changes nothing; Help shows the topic of context 2000 and leaves the dialog open. A
// single picture is renamed without a progress bar.
TEST_F(FrmRenameTest, CancelHelpAndASinglePicture)
{
    m_folder.addCamera(QStringLiteral("a.jpg"), shotAt("2003:05:17 14:02:09"));
    m_form->openStartPath(m_folder.path());
    const QString before = panel1();
    runDialog([&](QWidget *dialog) {
        click(dialog, "RenHelpBtn");
        click(dialog, "RenCancelBtn");
    });
    EXPECT_EQ(listed(), QStringList{QStringLiteral("a.jpg")});
    EXPECT_EQ(panel1(), before);
    HelpWindow *help = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        help = help ? help : qobject_cast<HelpWindow *>(window);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentTopic(), QStringLiteral("rename.html"));
    closeAllHelp();

    bool barShown = true;
    runDialog([&](QWidget *dialog) {
        click(dialog, "RenOKbtn");
        barShown = !dialog->findChild<QProgressBar *>()->isHidden();
    });
    EXPECT_FALSE(barShown);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("20030517_140209.jpg")});
    EXPECT_EQ(panel1(), QStringLiteral("1 ﾌｧｲﾙをﾘﾈｰﾑしました。"));
}
