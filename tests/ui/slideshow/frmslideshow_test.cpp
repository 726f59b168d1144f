#include "ui/slideshow/frmslideshow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>

#include "core/errorlog.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "core/slideshow/slidefit.h"
#include "core/slideshow/slideprefetch.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/scanfolder.h"
#include "tests/support/writefixtures.h"
#include "ui/main/form1.h"

namespace
{

const QString kRunning(16, u' ');
const QString kPaused = QStringLiteral("   [一時停止中]　");

class FrmSlideShowTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        m_saved = appSettings();
        initTransitionTables();
        SlideSettings &slide = appSettings().slide;
        slide.SlideFullScreen = false;
        slide.SlideEffectMain = 0;
        slide.SlideOrder = Ascending;
        slide.SlideBackColor = 0;
        m_folder.addPlain(QStringLiteral("a.jpg"), 1600, 1200, Qt::red);
        m_folder.addPlain(QStringLiteral("b.jpg"), 320, 240, Qt::green);
        m_folder.addPlain(QStringLiteral("c.jpg"), 64, 48, Qt::blue);
        setErrorLogSink([this](const QString &line) { m_logged.append(line); });
    }

    void TearDown() override
    {
        for (const QPointer<frmSlideShow> &show : m_shows)
            delete show.data();
        setErrorLogSink({});
        appSettings() = m_saved;
    }

    // Over the folder as it is at each step, or over a list that keeps its entries.
    frmSlideShow *open(const QString &start, SlideSource mode = SlideSource::Folder)
    {
        const QString folder = m_folder.path();
        const QStringList kept = {"a.jpg", "b.jpg", "c.jpg"};
        frmSlideShow::Source source{folder, mode,
                                    [folder, mode, kept] {
                                        return mode == SlideSource::List
                                                   ? kept
                                                   : QDir(folder).entryList({"*.jpg"}, QDir::Files,
                                                                            QDir::Name);
                                    },
                                    start};
        auto *show = new frmSlideShow(source);
        m_shows.append(show);
        show->Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(show));
        return show;
    }

    // The title without its state suffix, and the suffix.
    static QPair<QString, QString> title(const frmSlideShow *show)
    {
        const QString text = show->windowTitle();
        const qsizetype cut = text.endsWith(kPaused) ? kPaused.size() : kRunning.size();
        return {text.left(text.size() - cut), text.right(cut)};
    }

    QImage expectedScreen(const frmSlideShow *show, const QString &name) const
    {
        return prepareSlide(m_folder.file(name), show->size(), Qt::black,
                            appSettings().general.AutoOrient == 1)
            .picture;
    }

    ScanFolder m_folder;
    AppSettings m_saved;
    QStringList m_logged;
    QList<QPointer<frmSlideShow>> m_shows;
};

void wheel(QWidget *target, int delta)
{
    QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

TEST_F(FrmSlideShowTest, KeysAndWheelStepThroughTheFolderRoundTheEnds)
{
    frmSlideShow *show = open(QStringLiteral("c.jpg"));
    EXPECT_EQ(title(show),
              qMakePair(QStringLiteral("3 [昇 順] /3 c.jpg  64 X 48 (100%)"), kRunning));
    EXPECT_EQ(show->player().screenImage(), expectedScreen(show, QStringLiteral("c.jpg")));

    QTest::keyClick(show, Qt::Key_Right);
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("a.jpg")));
    const int percent = 100 * std::min(show->width() * 1200, show->height() * 1600) / (1600 * 1200);
    EXPECT_EQ(title(show).first,
              QStringLiteral("1 [昇 順] /3 a.jpg  1600 X 1200 (%1%)").arg(percent));
    EXPECT_EQ(show->player().screenImage(), expectedScreen(show, QStringLiteral("a.jpg")));
    QTest::keyClick(show, Qt::Key_Left);
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("c.jpg")));

    wheel(show, -120); // towards the user: next
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("a.jpg")));
    wheel(show, 0);
    wheel(show, 40);
    wheel(show, 40);
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("a.jpg")));
    wheel(show, 40); // a notch in all: previous
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("c.jpg")));

    appSettings().slide.SlideOrder = Descending;
    show->Timer1_Timer();
    EXPECT_EQ(title(show).first, QStringLiteral("2 [降 順] /3 b.jpg  320 X 240 (100%)"));
}

// Keys typed in one show reach that show only; characters whose Qt codes equal the arrows'
// character codes (the apostrophe 39, the percent sign 37) do nothing.
TEST_F(FrmSlideShowTest, OnlyTheShowsOwnKeysStepOrEndIt)
{
    frmSlideShow *first = open(QStringLiteral("a.jpg"));
    QPointer<frmSlideShow> second = open(QStringLiteral("a.jpg"));
    for (const Qt::Key key : {Qt::Key_Apostrophe, Qt::Key_Percent, Qt::Key_A}) {
        QTest::keyClick(first->windowHandle(), key);
        EXPECT_EQ(first->shownPath(), m_folder.file(QStringLiteral("a.jpg"))) << key;
    }
    // An Esc still waiting for the other show is not run while this one ends.
    QCoreApplication::postEvent(second, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(second->timer1().isActive());
    QCoreApplication::removePostedEvents(second, QEvent::KeyPress);
}

// The folder changes under a show on b.jpg: the next picture is the one after b.jpg by name,
// however many pictures before it went.
TEST_F(FrmSlideShowTest, FolderShowFollowsThePictureByName)
{
    frmSlideShow *show = open(QStringLiteral("b.jpg"));
    ASSERT_TRUE(QFile::remove(m_folder.file(QStringLiteral("a.jpg"))));
    QTest::keyClick(show, Qt::Key_Right);
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("c.jpg")));
}

TEST_F(FrmSlideShowTest, SpaceAndTheMiddleButtonPauseAndResume)
{
    frmSlideShow *show = open(QStringLiteral("a.jpg"));
    ASSERT_TRUE(show->timer1().isActive());
    EXPECT_EQ(show->timer1().interval(), 1000);
    const QString shown = title(show).first;
    QTest::keyClick(show, Qt::Key_Space);
    EXPECT_FALSE(show->isRunning());
    EXPECT_FALSE(show->timer1().isActive());
    EXPECT_EQ(title(show), qMakePair(shown, kPaused));
    EXPECT_EQ(show->flags().key, 32); // a transition under way would end at once
    QTest::mouseClick(show, Qt::MiddleButton);
    EXPECT_TRUE(show->isRunning());
    EXPECT_TRUE(show->timer1().isActive());
    EXPECT_EQ(title(show), qMakePair(shown, kRunning));
    EXPECT_EQ(show->flags().key, 0);
}

TEST_F(FrmSlideShowTest, VanishedFilesAreSkippedAndDamagedOnesLogged)
{
    frmSlideShow *show = open(QStringLiteral("a.jpg"), SlideSource::List);
    QFile::remove(m_folder.file(QStringLiteral("b.jpg")));
    QTest::keyClick(show, Qt::Key_Right);
    EXPECT_EQ(show->shownPath(), m_folder.file(QStringLiteral("c.jpg")));
    EXPECT_TRUE(m_logged.isEmpty());

    const QImage before = show->player().screenImage();
    m_folder.write(QStringLiteral("a.jpg"), "\xFF\xD8 damaged");
    QTest::keyClick(show, Qt::Key_Right);
    ASSERT_EQ(m_logged.size(), 1);
    EXPECT_TRUE(m_logged[0].startsWith(" 481 : loadSlidePic " + m_folder.file("a.jpg") + " : "))
        << qPrintable(m_logged[0]);
    EXPECT_EQ(show->player().screenImage(), before);
}

// A key during a transition finishes it at once; closing the window returns without the final
// copy, and the window goes once the transition has returned.
TEST_F(FrmSlideShowTest, KeysAndClosingCutATransitionShort)
{
    frmSlideShow *show = open(QStringLiteral("a.jpg"));
    appSettings().slide.SlideEffectMain = 1;
    appSettings().slide.SlideEffectSub = 0; // 左から右: forty steps and more
    int refreshes = 0;
    show->player().setFrameWait([&] {
        if (++refreshes == 3)
            show->Form_KeyDown(32);
    });
    show->Timer1_Timer();
    EXPECT_EQ(refreshes, 3);
    EXPECT_EQ(show->player().screenImage(), expectedScreen(show, QStringLiteral("b.jpg")));
    EXPECT_EQ(title(show).second, kPaused);

    refreshes = 0;
    show->player().setFrameWait([&] {
        if (++refreshes == 2)
            show->close();
    });
    QPointer<frmSlideShow> alive(show);
    QTest::keyClick(show, Qt::Key_Space);
    show->Timer1_Timer();
    EXPECT_EQ(refreshes, 2);
    ASSERT_TRUE(alive);
    EXPECT_NE(show->player().screenImage(), expectedScreen(show, QStringLiteral("c.jpg")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}

TEST_F(FrmSlideShowTest, ClosingOneShowLeavesAnotherRunning)
{
    frmSlideShow *first = open(QStringLiteral("a.jpg"));
    frmSlideShow *second = open(QStringLiteral("a.jpg"));
    appSettings().slide.SlideEffectMain = 1;
    int refreshes = 0;
    first->player().setFrameWait([&] {
        if (++refreshes == 2)
            second->close();
    });
    first->Timer1_Timer();
    EXPECT_GT(refreshes, 2);
    EXPECT_EQ(first->flags().stop, 0);
    EXPECT_EQ(first->player().screenImage(), expectedScreen(first, QStringLiteral("b.jpg")));
}

TEST_F(FrmSlideShowTest, PopupMenuMarksTheSettingsAndChangesThem)
{
    frmSlideShow *show = open(QStringLiteral("a.jpg"));
    QTest::keyClick(show, Qt::Key_Space);
    appSettings().slide.SlideOrder = Descending;
    QTest::mouseClick(show, Qt::RightButton);
    QMenu *menu = show->popSld();
    ASSERT_TRUE(menu->isVisible());
    QStringList captions;
    for (const QAction *item : menu->actions())
        captions.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(captions, QStringList({"次へ(&N)", "前へ(&B)", "一時停止(&S)", "-",
                                     "ｽﾗｲﾄﾞｼｮｳの設定(&O)", "-", "昇順(&U)", "降順(&D)", "ﾗﾝﾀﾞﾑ(&R)",
                                     "-", "ﾌﾙｽｸﾘｰﾝ表示(&F)", "-", "ｽﾗｲﾄﾞｼｮｳの終了(&E)"}));
    const auto item = [show](const char *name) {
        return show->findChild<QAction *>(QString::fromLatin1(name));
    };
    EXPECT_TRUE(item("popSldStop")->isChecked());
    EXPECT_FALSE(item("popSldOrder0")->isChecked());
    EXPECT_TRUE(item("popSldOrder1")->isChecked());
    EXPECT_FALSE(item("popSldFullScreen")->isChecked());
    EXPECT_FALSE(item("popSldOption")->isEnabled());
    item("popSldOrder2")->trigger();
    EXPECT_EQ(appSettings().slide.SlideOrder, Random);
    menu->hide();

    item("popSldFullScreen")->trigger();
    EXPECT_TRUE(appSettings().slide.SlideFullScreen);
    EXPECT_TRUE(show->isFullScreen());
    item("popSldFullScreen")->trigger();
    EXPECT_FALSE(appSettings().slide.SlideFullScreen);
    EXPECT_TRUE(title(show).first.startsWith(QStringLiteral("1 [ﾗﾝﾀﾞﾑ] /3 a.jpg  1600 X 1200")));

    // Chosen from the pop-up, which hides before the item runs: the show waits while the
    // options dialog is open and counts again once it has closed.
    int opened = 0;
    bool countingMeanwhile = true;
    show->setOptionsCommand([&] {
        ++opened;
        countingMeanwhile = show->timer1().isActive();
    });
    QTest::keyClick(show, Qt::Key_Space);
    QTest::mouseClick(show, Qt::RightButton);
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(item("popSldOption")).center());
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(countingMeanwhile);
    EXPECT_TRUE(show->timer1().isActive());
    EXPECT_EQ(appSettings().general.TabOrder, 4);
    EXPECT_EQ(show->flags().key, 1);
}

// A minimised show keeps counting but draws nothing until it is restored.
TEST_F(FrmSlideShowTest, MinimisedShowDrawsWhenRestored)
{
    frmSlideShow *show = open(QStringLiteral("a.jpg"));
    const QImage before = show->player().screenImage();
    show->showMinimized();
    show->Timer1_Timer();
    EXPECT_EQ(show->sequence().current(), 1);
    EXPECT_EQ(show->player().screenImage(), before);
    show->showMaximized();
    QTRY_COMPARE(show->shownPath(), m_folder.file(QStringLiteral("b.jpg")));
}

// A 640 x 480 shot its camera held upright (orientation 6) stands on the screen and the title
// gives its size as shown; with the setting off it lies as stored, as it always did.
TEST_F(FrmSlideShowTest, PortraitShotStandsUnlessTheSettingIsOff)
{
    CameraShot shot;
    shot.orientation = 6;
    m_folder.addCamera(QStringLiteral("d.jpg"), shot);
    const struct {
        qint16 autoOrient;
        QSize shown;
        const char *corners;
    } cases[] = {{1, {480, 640}, "cadb"}, {0, {640, 480}, "abcd"}};
    for (const auto &c : cases) {
        appSettings().general.AutoOrient = c.autoOrient;
        frmSlideShow *show = open(QStringLiteral("d.jpg"));
        const SlideFit fit = slideFit(c.shown, show->size());
        EXPECT_EQ(title(show).first, QStringLiteral("4 [昇 順] /4 d.jpg  %1 X %2 (%3%)")
                                         .arg(c.shown.width())
                                         .arg(c.shown.height())
                                         .arg(fit.percent));
        EXPECT_EQ(writefixtures::patternCorners(show->player().screenImage(), fit.drawn),
                  QString::fromLatin1(c.corners));
    }
}

// The player paints on any widget and every refreshed step waits for its frame.
TEST(TransitionPlayer, PlaysOnAnyWidget)
{
    initTransitionTables();
    QWidget box;
    box.resize(200, 150);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QImage picture(box.size(), QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    TransitionPlayer player(&box);
    int frames = 0;
    player.setFrameWait([&frames] { ++frames; });
    TransitionFlags flags;
    const SlideEffect wipe{QString(), 1, QStringLiteral("上から下"), 0, 80};
    EXPECT_TRUE(player.runTransition(wipe, picture, flags));
    EXPECT_EQ(frames, 51);
    EXPECT_EQ(box.grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
    picture.fill(Qt::cyan);
    EXPECT_TRUE(player.runTransition({}, picture, flags));
    EXPECT_EQ(frames, 51);
    EXPECT_EQ(box.grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
}

// The command runs on a list with pictures only, and starts on the list's current entry.
TEST(Form1SlideShow, CommandOpensAShowOnTheCurrentEntry)
{
    QStandardPaths::setTestModeEnabled(true);
    const AppSettings saved = appSettings();
    QTemporaryDir storeFolder;
    appSettings() = AppSettings{};
    QSettings store(storeFolder.filePath(QStringLiteral("Tabilo.conf")), QSettings::IniFormat);
    Form1 form(store);
    appSettings().general.Jpg2Exif = 1;
    appSettings().slide.SlideAll = 0;
    appSettings().slide.SlideFullScreen = false;
    RecordingPrompter prompts;
    ScanFolder empty;
    prompts.queueOpenFile(empty.file(QStringLiteral("any.jpg")));
    form.command(QStringLiteral("mnuFileOpen"))->trigger();
    EXPECT_FALSE(form.command(QStringLiteral("mnuFileSlideShow"))->isEnabled());
    EXPECT_FALSE(form.toolButton(QStringLiteral("startSlideShow"))->isEnabled());

    ScanFolder folder;
    folder.addCamera(QStringLiteral("a.jpg"));
    folder.addCamera(QStringLiteral("b.jpg"));
    prompts.queueOpenFile(folder.file(QStringLiteral("any.jpg")));
    form.command(QStringLiteral("mnuFileOpen"))->trigger();
    EXPECT_TRUE(form.toolButton(QStringLiteral("startSlideShow"))->isEnabled());
    form.listView()->setCurrentIndex(form.thumbnailModel()->index(1));
    form.ListView1_ItemClick();
    form.toolButton(QStringLiteral("startSlideShow"))->trigger();
    auto *show = form.findChild<frmSlideShow *>();
    ASSERT_NE(show, nullptr);
    QTRY_COMPARE(show->shownPath(), folder.file(QStringLiteral("b.jpg")));
    EXPECT_TRUE(show->findChild<QAction *>(QStringLiteral("popSldOption"))->isEnabled());
    EXPECT_TRUE(show->windowTitle().startsWith(QStringLiteral("2 [昇 順] /2 b.jpg  640 X 480")));
    prompts.expectAllAnswered();
    form.close();
    appSettings() = saved;
}

} // namespace
