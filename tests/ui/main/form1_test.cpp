#include "core/errorlog.h"
#include "core/settings/settings.h"
#include "platform/startfolder.h"
#include "platform/tempfolder.h"
#include "tests/support/recordingprompter.h"
#include "ui/frminfo.h"
#include "ui/help/frmabout.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>
#include <vector>

namespace
{

// Every menu-bar item in order, with its caption ("-" for a separator) and whether it can be
// clicked right after start-up: the started state, less the operations still to come.
struct MenuItem {
    const char *name;
    const char *caption;
    bool enabledAtStart;
};

const QList<MenuItem> kFileMenu = {
    {"mnuFileOpen", "開く(&O)...", true},
    {"mnuFileSlideShow", "ｽﾗｲﾄﾞｼｮｳ(&S)", false},
    {"mnuFileRename", "撮影日にﾘﾈｰﾑ(&R)...", false},
    {"mnuBar3", "-", true},
    {"mnuOption", "ｵﾌﾟｼｮﾝ(&N)...", true},
    {"mnuFileBar1", "-", true},
    {"mnuFileExit", "Tabilo の終了(&X)", true},
};

const QList<MenuItem> kEditMenu = {
    {"mnuEditVisible", "公開画像に設定(&V)", false},
    {"mnuEditHide", "非公開画像に設定(&H)", false},
    {"mnuBar2", "-", true},
    {"mnuFileCopy", "ﾌｧｲﾙのｺﾋﾟｰ(&C)...", false},
    {"mnuFileMove", "ﾌｧｲﾙの移動(&M)...", false},
    {"mnuFileRenameOrigin", "ﾌｧｲﾙ名の変更(&R)", false},
    {"mnuEditBar2", "-", true},
    {"mnuFileDel", "ﾌｧｲﾙの削除(&D)", false},
    {"mnuEditBar1", "-", true},
    {"mnuEditSelAll", "全て選択(&A)", false},
    {"mnnEditBar3", "-", true},
    {"mnuEditWallPaper", "壁紙に設定(&W)...", false},
    {"mnnEditBar2", "-", true},
    {"mnuEdit2Exif", "Exifﾌｧｲﾙに変換(&E)...", false},
    {"mnuEditBar5", "-", true},
    {"mnuEditRotate", "画像の回転(&T)", false},
};

const QList<MenuItem> kHelpMenu = {
    {"mnuHelpTopic", "ﾄﾋﾟｯｸの検索(&T)...", true},
    {"mnuHelpWWW", "最新ﾊﾞｰｼﾞｮﾝの取得(&W)...", true},
    {"mnuHelpBar", "-", true},
    {"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)...", true},
};

const QList<MenuItem> kPopupMenu = {
    {"popOpen", "開く(&O)...", false},
    {"popExOpen", "外部ﾌﾟﾛｸﾞﾗﾑで開く(&M)", false},
    {"popSlideShow", "ｽﾗｲﾄﾞｼｮｳ(&S)", false},
    {"popBar", "-", false},
    {"popVisible", "公開画像に設定(&V)", false},
    {"popHide", "非公開画像に設定(&H)", false},
    {"popBar3", "-", false},
    {"popCopyFile", "ﾌｧｲﾙのｺﾋﾟｰ(&C)...", false},
    {"popMoveFile", "ﾌｧｲﾙの移動(&M)...", false},
    {"popRenameFile", "ﾌｧｲﾙ名の変更(&R)", false},
    {"popBar4", "-", false},
    {"popDelFile", "削除(&D)...", false},
    {"popBar5", "-", false},
    {"popWallPaper", "壁紙に設定(&W)...", false},
    {"popBar6", "-", false},
    {"pop2Exif", "非Exif→Exif変換(&E)...", false},
    {"popBar7", "-", false},
    {"popRotate", "画像の回転(&T)", false},
};

const QList<QPair<QString, QString>> kToolButtons = {
    {"Open", "開く"},
    {"Rename", "撮影日にﾘﾈｰﾑ"},
    {"Option", "ｵﾌﾟｼｮﾝ"},
    {"SetVisible", "公開画像に設定"},
    {"SetHidden", "非公開画像に設定"},
    {"SelAll", "全て選択"},
    {"ShowAll", "全ての画像を表示"},
    {"ShowNormal", "公開画像のみ表示"},
    {"ShowHidden", "非公開画像のみ表示"},
    {"SetSmall", "小さいｻﾑﾈｲﾙ"},
    {"SetMid", "標準のｻﾑﾈｲﾙ"},
    {"SetBig", "大きなｻﾑﾈｲﾙ"},
    {"Reload", "再読み込み"},
    {"Stop", "読み込みの中断"},
    {"startSlideShow", "ｽﾗｲﾄﾞｼｮｳの開始"},
    {"jpg2Exif", "非ExifﾌｧｲﾙをExifﾌｧｲﾙに変換"},
    {"Rotate", "画像の回転"},
};

void expectMenu(const QMenu *menu, const QList<MenuItem> &items, bool checkEnabled)
{
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), items.size()) << qPrintable(menu->objectName());
    for (int i = 0; i < items.size(); ++i) {
        const QAction *action = actions[i];
        const MenuItem &item = items[i];
        EXPECT_EQ(action->objectName(), QString::fromUtf8(item.name));
        if (QByteArray(item.caption) == "-") {
            EXPECT_TRUE(action->isSeparator()) << item.name;
            continue;
        }
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_TRUE(action->shortcut().isEmpty()) << item.name;
        if (checkEnabled) {
            EXPECT_EQ(action->isEnabled(), item.enabledAtStart) << item.name;
        }
    }
}

class Form1Test : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        appSettings() = AppSettings{};
    }

    QString storePath() const { return m_folder.filePath(QStringLiteral("Tabilo.conf")); }

    void writeStore(const QByteArray &contents) const
    {
        QFile file(storePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QString stored(const QString &key) const
    {
        QSettings store(storePath(), QSettings::IniFormat);
        return store.value(QStringLiteral("Settings/") + key).toString();
    }

    Form1 &start()
    {
        m_store = std::make_unique<QSettings>(storePath(), QSettings::IniFormat);
        m_form = std::make_unique<Form1>(*m_store);
        return *m_form;
    }

    void closeAndSync()
    {
        m_form->close();
        m_store->sync();
    }

    QStringList enabledToolButtons() const
    {
        QStringList on;
        for (const auto &[key, tip] : kToolButtons) {
            if (m_form->toolButton(key)->isEnabled())
                on.append(key);
        }
        return on;
    }

    QTemporaryDir m_folder;
    RecordingPrompter m_prompts;
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<Form1> m_form;
};

} // namespace

TEST_F(Form1Test, StartsVisibleWithCaptionMenusAndEmptyList)
{
    Form1 &form = start();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tabilo"));
    EXPECT_EQ(form.commandState(), 1);
    EXPECT_EQ(form.listView()->viewMode(), QListView::IconMode);
    EXPECT_TRUE(form.listView()->acceptDrops());

    const QList<QAction *> bar = form.menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    const QStringList captions = {"ﾌｧｲﾙ(&F)", "編集(&E)", "ﾍﾙﾌﾟ(&H)"};
    const QStringList names = {"mnuFile", "mnuEdit", "mnuHelp"};
    const QList<bool> enabled = {true, false, true};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bar[i]->text(), captions[i]);
        EXPECT_EQ(bar[i]->objectName(), names[i]);
        EXPECT_EQ(bar[i]->isEnabled(), enabled[i]) << qPrintable(names[i]);
    }
    expectMenu(bar[0]->menu(), kFileMenu, true);
    expectMenu(bar[1]->menu(), kEditMenu, true);
    expectMenu(bar[2]->menu(), kHelpMenu, true);

    EXPECT_EQ(form.popupMenu()->title(), QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ"));
    expectMenu(form.popupMenu(), kPopupMenu, false);

    for (int i = 1; i <= 18; ++i)
        ASSERT_NE(form.labelA(i), nullptr) << i;
    EXPECT_EQ(form.labelA(19), nullptr);
    EXPECT_EQ(form.labelA(1)->objectName(), QStringLiteral("LabelA1"));
    EXPECT_TRUE(form.frmInfo() && !form.frmInfo()->isVisible());
}

TEST_F(Form1Test, ToolbarHasSeventeenKeyedButtonsWithIconsAndTips)
{
    Form1 &form = start();
    QList<QAction *> buttons;
    for (QAction *action : form.toolBar()->actions()) {
        if (!action->isSeparator())
            buttons.append(action);
    }
    ASSERT_EQ(buttons.size(), kToolButtons.size());
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->data().toString(), kToolButtons[i].first);
        EXPECT_EQ(buttons[i]->toolTip(), kToolButtons[i].second);
        EXPECT_FALSE(buttons[i]->icon().pixmap(24, 24).isNull())
            << qPrintable(kToolButtons[i].first);
    }
    // The stored defaults: every picture listed, standard size.
    EXPECT_TRUE(form.toolButton("ShowAll")->isChecked());
    EXPECT_TRUE(form.toolButton("SetMid")->isChecked());
    EXPECT_FALSE(form.toolButton("SetBig")->isChecked());
}

TEST_F(Form1Test, ToolbarFollowsEachCommandState)
{
    Form1 &form = start();
    const QStringList modesAndSizes = {"ShowAll",  "ShowNormal", "ShowHidden",
                                       "SetSmall", "SetMid",     "SetBig"};
    const QMap<int, QStringList> expected = {
        {1, QStringList{"Open", "Option"} + modesAndSizes},
        {2, {"Stop"}},
        {3, QStringList{"Open", "Rename", "Option", "SelAll"} + modesAndSizes +
                QStringList{"Reload", "startSlideShow"}},
        {4, QStringList{"Open", "Rename", "Option", "SetVisible", "SetHidden", "SelAll"} +
                modesAndSizes + QStringList{"Reload", "startSlideShow", "jpg2Exif", "Rotate"}},
        {5, QStringList{"Open", "Option"} + modesAndSizes + QStringList{"Reload"}},
    };
    for (int state : {2, 3, 4, 5, 1}) {
        form.mnuButtonSetting(state);
        EXPECT_EQ(enabledToolButtons(), expected[state]) << state;
    }
}

TEST_F(Form1Test, ScanningStateDisablesEveryMenu)
{
    Form1 &form = start();
    form.mnuButtonSetting(2);
    for (QAction *menu : form.menuBar()->actions())
        EXPECT_FALSE(menu->isEnabled()) << qPrintable(menu->objectName());
    form.mnuButtonSetting(3);
    for (QAction *menu : form.menuBar()->actions())
        EXPECT_TRUE(menu->isEnabled()) << qPrintable(menu->objectName());
}

TEST_F(Form1Test, SameCommandStateTwiceChangesNothing)
{
    Form1 &form = start();
    QAction *showAll = form.toolButton("ShowAll");
    QAction *edit = form.command("mnuEdit");
    showAll->setEnabled(false);
    edit->setEnabled(true);
    form.mnuButtonSetting(1);
    EXPECT_FALSE(showAll->isEnabled());
    EXPECT_TRUE(edit->isEnabled());

    // A state outside 1..5 changes nothing but is remembered, so 1 applies again afterwards.
    form.mnuButtonSetting(7);
    EXPECT_EQ(form.commandState(), 7);
    EXPECT_FALSE(showAll->isEnabled());
    form.mnuButtonSetting(1);
    EXPECT_TRUE(showAll->isEnabled());
    EXPECT_FALSE(edit->isEnabled());
}

TEST_F(Form1Test, ModeAndSizeButtonsChangeSettingAndIndicators)
{
    Form1 &form = start();
    EXPECT_EQ(form.statusPanel(3)->text(), QStringLiteral("公開"));
    EXPECT_EQ(form.statusPanel(4)->text(), QStringLiteral("非公開"));

    form.toolButton("ShowHidden")->trigger();
    EXPECT_EQ(appSettings().general.gVisibleMode, 2);
    EXPECT_EQ(form.statusPanel(3)->text(), QString());
    EXPECT_EQ(form.statusPanel(4)->text(), QStringLiteral("非公開"));
    EXPECT_TRUE(form.toolButton("ShowHidden")->isChecked());
    EXPECT_FALSE(form.toolButton("ShowAll")->isChecked());

    form.toolButton("ShowNormal")->trigger();
    EXPECT_EQ(appSettings().general.gVisibleMode, 1);
    EXPECT_EQ(form.statusPanel(3)->text(), QStringLiteral("公開"));
    EXPECT_EQ(form.statusPanel(4)->text(), QString());

    form.toolButton("SetBig")->trigger();
    EXPECT_EQ(appSettings().general.gThumbSize, 0);
    EXPECT_TRUE(form.toolButton("SetBig")->isChecked());
    EXPECT_FALSE(form.toolButton("SetMid")->isChecked());
    form.toolButton("SetSmall")->trigger();
    EXPECT_EQ(appSettings().general.gThumbSize, 2);

    // A value from elsewhere outside the known ones leaves the indicators as they are.
    appSettings().general.gVisibleMode = 5;
    form.showVisibleMode();
    EXPECT_EQ(form.statusPanel(3)->text(), QStringLiteral("公開"));
    EXPECT_TRUE(form.toolButton("ShowNormal")->isChecked());
}

TEST_F(Form1Test, StoredModeAndSizePressTheirButtons)
{
    writeStore("[Settings]\ngVisibleMode=1\ngThumbSize=0\n");
    Form1 &form = start();
    EXPECT_TRUE(form.toolButton("ShowNormal")->isChecked());
    EXPECT_TRUE(form.toolButton("SetBig")->isChecked());
    EXPECT_EQ(form.statusPanel(4)->text(), QString());
}

TEST_F(Form1Test, ViewerPanelNamesTheDefaultProgram)
{
    Form1 &form = start();
    EXPECT_EQ(form.statusPanel(6)->text(), QStringLiteral("内蔵ﾋﾞｭｰｱｰ"));

    const QString program = m_folder.filePath(QStringLiteral("viewer-prog"));
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ExProgramSettings &exProgram = appSettings().exProgram;
    exProgram.gDefExPro = true;
    exProgram.ExProSW = 1;
    exProgram.ExProgram[1] = program;
    form.showViewerPanel();
    EXPECT_EQ(form.statusPanel(6)->text(), QStringLiteral("内蔵 / viewer-prog"));

    exProgram.ExProDirect = 1;
    form.showViewerPanel();
    EXPECT_EQ(form.statusPanel(6)->text(), QStringLiteral("viewer-prog"));

    ASSERT_TRUE(QFile::remove(program));
    exProgram.ExProDirect = 0;
    form.showViewerPanel();
    EXPECT_EQ(form.statusPanel(6)->text(), QStringLiteral("内蔵 / 要確認"));

    exProgram.ExProSW = 7; // beyond the three programs: shown as not found, not a crash
    form.showViewerPanel();
    EXPECT_EQ(form.statusPanel(6)->text(), QStringLiteral("内蔵 / 要確認"));
}

// Panel 6 finds the program as its launch does: a bare name on PATH, and only a file that runs.
TEST_F(Form1Test, ViewerPanelFindsTheProgramAsItsLaunchDoes)
{
    Form1 &form = start();
    const QString notRunnable = m_folder.filePath(QStringLiteral("notes.txt"));
    QFile file(notRunnable);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("sh"), QStringLiteral("内蔵 / sh")},
        {notRunnable, QStringLiteral("内蔵 / 要確認")},
    };
    ExProgramSettings &exProgram = appSettings().exProgram;
    exProgram.gDefExPro = true;
    exProgram.ExProSW = 0;
    for (const auto &[program, panel] : cases) {
        exProgram.ExProgram[0] = program;
        form.showViewerPanel();
        EXPECT_EQ(form.statusPanel(6)->text(), panel) << qPrintable(program);
    }
}

TEST_F(Form1Test, StatusPanelsCarryKeysAndTips)
{
    Form1 &form = start();
    const QList<QPair<QString, QString>> panels = {
        {"messege", "ｲﾝﾌｫﾒｰｼｮﾝ"},           {"VisOrHid", "選択している画像のﾓｰﾄﾞ"},
        {"Visible", "現在の表示ﾓｰﾄﾞ"},      {"Hidden", "現在の表示ﾓｰﾄﾞ"},
        {"Files", "表示ﾌｧｲﾙ数 / 全ﾌｧｲﾙ数"}, {"ExProgram", "ﾋﾞｭｰｱｰの設定。ｸﾘｯｸで設定できます。"},
    };
    for (int i = 0; i < panels.size(); ++i) {
        EXPECT_EQ(form.statusPanel(i + 1)->key(), panels[i].first);
        EXPECT_EQ(form.statusPanel(i + 1)->toolTip(), panels[i].second);
    }
    EXPECT_EQ(form.statusPanel(1)->bevel(), StatusPanel::Bevel::Sunken);
    EXPECT_EQ(form.statusPanel(1)->frameShadow(), QFrame::Sunken);
}

TEST_F(Form1Test, LoggedErrorsRaisePanelOneUntilTheLogIsShown)
{
    Form1 &form = start();
    LogError(QStringLiteral("display_th"),
             ErrorRecord{53, QStringLiteral("Tabilo"), QStringLiteral("No such file")});
    LogError(QStringLiteral("BAD PIC "), ErrorRecord{75, QStringLiteral("libjpeg"), QString()});

    QListWidget *lines = form.frmInfo()->lines();
    ASSERT_EQ(lines->count(), 2);
    EXPECT_EQ(lines->item(0)->text(),
              QStringLiteral(" 53 : display_th : Tabilo でｴﾗｰ発生。No such file"));
    EXPECT_EQ(lines->item(1)->text(), QStringLiteral(" 75 : BAD PIC  : libjpeg でｴﾗｰ発生。"));
    StatusPanel *alert = form.statusPanel(1);
    EXPECT_EQ(alert->bevel(), StatusPanel::Bevel::Raised);
    EXPECT_EQ(alert->frameShadow(), QFrame::Raised);
    EXPECT_NE(alert->palette().color(QPalette::Window),
              form.statusBar()->palette().color(QPalette::Window));
    EXPECT_FALSE(form.frmInfo()->isVisible());

    QTest::mouseClick(alert, Qt::LeftButton);
    EXPECT_TRUE(form.frmInfo()->isVisible());
    EXPECT_FALSE(form.frmInfo()->isModal());
    EXPECT_EQ(alert->bevel(), StatusPanel::Bevel::Sunken);
    EXPECT_EQ(alert->frameShadow(), QFrame::Sunken);

    QTest::mouseClick(form.frmInfo()->hideButton(), Qt::LeftButton);
    EXPECT_FALSE(form.frmInfo()->isVisible());
    EXPECT_EQ(lines->count(), 2);
}

TEST_F(Form1Test, GarbageStoreStartsWithDefaultsAndLogsTheProblem)
{
    writeStore(QByteArray("\xff\xfe\x00garbage[[[\n[Settings]\nMainLeft=left edge\n"
                          "gThumbSize=big\n\x01\x02=\n",
                          52));
    Form1 &form = start();
    EXPECT_EQ(appSettings().placement.left, 100.0f);
    EXPECT_EQ(appSettings().general.gThumbSize, 1);
    EXPECT_TRUE(form.toolButton("SetMid")->isChecked());
    QListWidget *lines = form.frmInfo()->lines();
    ASSERT_GE(lines->count(), 1);
    for (int i = 0; i < lines->count(); ++i)
        EXPECT_TRUE(lines->item(i)->text().contains(QStringLiteral(" : read settings : ")))
            << qPrintable(lines->item(i)->text());
    EXPECT_EQ(form.statusPanel(1)->bevel(), StatusPanel::Bevel::Raised);
}

TEST_F(Form1Test, StoredFontNamesDrawWithAJapaneseFace)
{
    writeStore("[Settings]\nDataSize=12\ngThumbLabelBold=True\n");
    Form1 &form = start();
    const QFontInfo panel(form.labelA(18)->font());
    EXPECT_TRUE(panel.family().startsWith(QStringLiteral("IPA"))) << qPrintable(panel.family());
    EXPECT_EQ(panel.pointSizeF(), 12.0);
    const QFontInfo list(form.listView()->font());
    EXPECT_TRUE(list.family().startsWith(QStringLiteral("IPA"))) << qPrintable(list.family());
    EXPECT_TRUE(list.bold());
    // Font size 12: the eighteenth line starts 7225 twips down and is 300 high.
    EXPECT_EQ(form.labelA(18)->geometry().top(), 482);
    EXPECT_EQ(form.labelA(18)->height(), 20);
}

TEST_F(Form1Test, StoredGeometryPlacesTheWindow)
{
    // 96 DPI: one pixel is 15 twips.
    writeStore("[Settings]\nMainLeft=1500\nMainTop=3000\nMainWidth=150000\nMainHeight=7500\n"
               "DataWidth=4500\n");
    Form1 &form = start();
    ASSERT_EQ(form.screen()->logicalDotsPerInchX(), 96);
    EXPECT_EQ(form.pos(), QPoint(100, 200));
    EXPECT_EQ(form.size(), QSize(10000, 500));
    EXPECT_EQ(form.dataBox()->width(), 300);
}

TEST_F(Form1Test, RectangleOffEveryScreenOpensOnThePrimaryScreen)
{
    writeStore("[Settings]\nMainLeft=-300000\nMainTop=90000\nMainWidth=9300\nMainHeight=6000\n");
    Form1 &form = start();
    EXPECT_EQ(form.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    EXPECT_EQ(form.size(), QSize(620, 400));
}

TEST_F(Form1Test, ShutdownWritesEveryKey)
{
    Form1 &form = start();
    form.move(150, 120);
    form.resize(700, 500);
    form.toolButton("ShowHidden")->trigger();
    appSettings().general.RotBackUpFolder = QStringLiteral("元画像");
    closeAndSync();

    EXPECT_EQ(stored("MainLeft").toDouble(), 2250);
    EXPECT_EQ(stored("MainTop").toDouble(), 1800);
    EXPECT_EQ(stored("MainWidth").toDouble(), 10500);
    EXPECT_EQ(stored("MainHeight").toDouble(), 7500);
    EXPECT_EQ(stored("DataWidth").toDouble(), 3000);
    EXPECT_EQ(stored("gVisibleMode"), QStringLiteral("2"));
    EXPECT_EQ(stored("RotBackUpFolder"), QStringLiteral("元画像"));
    EXPECT_EQ(stored("HotTrack"), QStringLiteral("1"));
    QSettings store(storePath(), QSettings::IniFormat);
    store.beginGroup(QStringLiteral("Settings"));
    EXPECT_EQ(store.childKeys().size(), 46); // the four window keys and 42 others
}

TEST_F(Form1Test, MinimisedShutdownKeepsStoredGeometry)
{
    writeStore("[Settings]\nMainLeft=1200\nMainTop=1300\nMainWidth=9900\nMainHeight=8800\n");
    Form1 &form = start();
    form.toolButton("SetSmall")->trigger();
    form.showMinimized();
    ASSERT_TRUE(form.isMinimized());
    closeAndSync();

    EXPECT_EQ(stored("MainLeft").toDouble(), 1200);
    EXPECT_EQ(stored("MainTop").toDouble(), 1300);
    EXPECT_EQ(stored("MainWidth").toDouble(), 9900);
    EXPECT_EQ(stored("MainHeight").toDouble(), 8800);
    EXPECT_EQ(stored("gThumbSize"), QStringLiteral("2"));
}

TEST_F(Form1Test, MaximisedShutdownStoresTheMaximisedRectangle)
{
    Form1 &form = start();
    form.showMaximized();
    QTest::qWait(10);
    ASSERT_TRUE(form.isMaximized());
    // Left and top of the frame, width and height of the inside.
    const QRect maximised(form.pos(), form.size());
    closeAndSync();

    EXPECT_EQ(stored("MainLeft").toDouble(), maximised.x() * 15.0);
    EXPECT_EQ(stored("MainTop").toDouble(), maximised.y() * 15.0);
    EXPECT_EQ(stored("MainWidth").toDouble(), maximised.width() * 15.0);
    EXPECT_EQ(stored("MainHeight").toDouble(), maximised.height() * 15.0);

    // The next start opens a normal window of that size.
    appSettings() = AppSettings{};
    Form1 &again = start();
    EXPECT_FALSE(again.isMaximized());
    EXPECT_EQ(again.size(), maximised.size());
}

TEST_F(Form1Test, FirstStartOpensInThePicturesOrHomeFolder)
{
    Form1 &form = start();
    EXPECT_NE(appSettings().filePath, QDir::cleanPath(form.dataFolder()));
    m_prompts.queueOpenFile(QString());
    form.command("mnuFileOpen")->trigger();
    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].startFolder, defaultStartFolder());
}

namespace
{

class ClosingRecorder : public QWidget
{
  public:
    ClosingRecorder(const QString &name, QStringList &closed) : m_closed(closed)
    {
        setObjectName(name);
    }

  protected:
    void closeEvent(QCloseEvent *event) override
    {
        m_closed.append(objectName());
        QWidget::closeEvent(event);
    }

  private:
    QStringList &m_closed;
};

} // namespace

TEST_F(Form1Test, ShutdownClosesOtherWindowsMostRecentlyOpenedFirst)
{
    Form1 &form = start();
    QStringList closed;
    std::vector<std::unique_ptr<ClosingRecorder>> windows;
    for (const char *name : {"a", "b", "c", "d", "e"})
        windows.push_back(std::make_unique<ClosingRecorder>(QString::fromLatin1(name), closed));
    // Opened in another order than made; "a", closed and opened again, counts from then.
    for (int index : {2, 0, 4, 1, 3})
        windows[size_t(index)]->show();
    windows[0]->hide();
    windows[0]->show();

    form.close();
    EXPECT_EQ(closed, QStringList({"a", "d", "b", "e", "c"}));
}

TEST_F(Form1Test, UnwritableStoreIsReportedAtShutdown)
{
    // The store's folder is a plain file, so the store can never be written.
    const QString blocker = m_folder.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    m_store =
        std::make_unique<QSettings>(blocker + QStringLiteral("/Tabilo.conf"), QSettings::IniFormat);
    m_form = std::make_unique<Form1>(*m_store);

    m_prompts.queueAnswer(PromptAnswer::Ok);
    m_form->close();
    ASSERT_EQ(m_prompts.requests().size(), 1);
    const RecordingPrompter::Request &request = m_prompts.requests()[0];
    EXPECT_EQ(request.icon, PromptIcon::Exclamation);
    EXPECT_EQ(request.title, QStringLiteral("Tabilo"));
    EXPECT_TRUE(request.text.startsWith(QStringLiteral("設定を保存できませんでした。\n")))
        << qPrintable(request.text);
    EXPECT_EQ(request.buttons, PromptButtons::Ok);
    EXPECT_FALSE(m_form->isVisible());
}

TEST_F(Form1Test, ExitMenuRunsShutdown)
{
    Form1 &form = start();
    form.frmInfo()->show();
    const QString workFile = temporaryFolder() + QStringLiteral("tmp.jpg");
    QFile file(workFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    form.command("mnuFileExit")->trigger();
    m_store->sync();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.frmInfo()->isVisible());
    EXPECT_FALSE(QFile::exists(workFile));
    EXPECT_FALSE(stored("MainWidth").isEmpty());
    // Closing again does not write a second time nor fail on the missing work file.
    EXPECT_TRUE(form.close());
}

TEST_F(Form1Test, RightClickWithoutSelectionShowsPopupAllOff)
{
    Form1 &form = start();
    QTest::mouseRelease(form.listView()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    QCoreApplication::processEvents(); // the pop-up opens once the list has had the release
    QMenu *popup = form.popupMenu();
    EXPECT_TRUE(popup->isVisible());
    for (QAction *item : popup->actions()) {
        if (!item->isSeparator()) {
            EXPECT_FALSE(item->isEnabled()) << qPrintable(item->objectName());
        }
    }
    popup->hide();
}

TEST_F(Form1Test, PressOnListWithSelectionEntersSelectionState)
{
    Form1 &form = start();
    QStandardItemModel pictures;
    pictures.appendRow(new QStandardItem(QStringLiteral("a.jpg")));
    form.listView()->setModel(&pictures);
    QTest::mousePress(form.listView()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form.commandState(), 1); // nothing was selected before the press
    form.listView()->selectionModel()->select(pictures.index(0, 0), QItemSelectionModel::Select);
    QTest::mousePress(form.listView()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form.commandState(), 4);
    form.listView()->setModel(nullptr);
}

namespace
{

class UrlRecorder : public QObject
{
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

} // namespace

// Without an address given to the build, the item opens the help contents beside the program,
// a page that is always there.
TEST_F(Form1Test, WebPageItemOpensAPageThatExists)
{
    Form1 &form = start();
    UrlRecorder recorder;
    for (const char *scheme : {"file", "https", "http"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    form.command("mnuHelpWWW")->trigger();
    for (const char *scheme : {"file", "https", "http"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    ASSERT_EQ(recorder.opened.size(), 1);
    const QString configured = QStringLiteral(TABILO_WEB_PAGE);
    if (!configured.isEmpty()) {
        EXPECT_EQ(recorder.opened[0], QUrl(configured));
        return;
    }
    const QUrl &page = recorder.opened[0];
    ASSERT_TRUE(page.isLocalFile()) << qPrintable(page.toString());
    EXPECT_TRUE(QFileInfo(page.toLocalFile()).isFile()) << qPrintable(page.toString());
    EXPECT_EQ(QFileInfo(page.toLocalFile()).fileName(), QStringLiteral("contents.html"));
}

TEST_F(Form1Test, AboutItemShowsTheAboutBoxModalOverTheMainWindow)
{
    Form1 &form = start();
    bool aboutShown = false;
    QWidget *owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        aboutShown = qobject_cast<frmAbout *>(modal) != nullptr;
        if (modal) {
            owner = modal->parentWidget();
            modal->close();
        }
    });
    form.command("mnuHelpAbout")->trigger();
    EXPECT_TRUE(aboutShown);
    EXPECT_EQ(owner, &form);
}

#include "form1_test.moc"
