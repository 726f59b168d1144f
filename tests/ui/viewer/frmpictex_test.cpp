#include "ui/viewer/frmpictex.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "core/errorlog.h"
#include "core/settings/settings.h"
#include "exif/jpegdecode.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"
#include "ui/viewer/fittedpicture.h"
#include "ui/viewer/picturecanvas.h"

namespace
{
class FrmPictEXTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedSettings = appSettings();
        setErrorLogSink([this](const QString &line) { m_logLines.append(line); });
    }

    void TearDown() override
    {
        delete m_viewer;
        setErrorLogSink({});
        appSettings() = m_savedSettings;
    }

    QString writePicture(const QString &name, const QSize &size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(image.save(path, "JPG"));
        return path;
    }

    frmPictEX *open(const QString &path, qint16 autoSizeFit)
    {
        appSettings().general.gAutoSizeFit = autoSizeFit;
        m_viewer = new frmPictEX(path);
        m_viewer->Form_Load();
        return m_viewer;
    }

    QSize workArea() const { return m_viewer->screen()->availableGeometry().size(); }
    QWidget *inner() const { return m_viewer->centralWidget(); }
    PictureCanvas *picDest() const
    {
        return m_viewer->findChild<PictureCanvas *>(QStringLiteral("PicDest"));
    }
    FittedPicture *imgDest() const
    {
        return m_viewer->findChild<FittedPicture *>(QStringLiteral("ImgDest"));
    }
    QAction *action(const char *name) const
    {
        return m_viewer->findChild<QAction *>(QString::fromLatin1(name));
    }

    QTemporaryDir m_dir;
    AppSettings m_savedSettings;
    QStringList m_logLines;
    frmPictEX *m_viewer = nullptr;
};

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *item : menu->actions())
        texts.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    return texts;
}
} // namespace

TEST_F(FrmPictEXTest, SmallPictureOpensAtItsNaturalSizeInBothModes)
{
    const QString path = writePicture(QStringLiteral("small.jpg"), QSize(320, 240));
    for (qint16 mode : {qint16(1), qint16(0)}) {
        open(path, mode);
        EXPECT_EQ(inner()->size(), QSize(320, 240)) << "mode " << mode;
        EXPECT_EQ(m_viewer->frameGeometry().topLeft(),
                  m_viewer->screen()->availableGeometry().topLeft());
        delete m_viewer;
        m_viewer = nullptr;
    }
}

TEST_F(FrmPictEXTest, TitleNamesThePathAndTheSize)
{
    const QString path = writePicture(QStringLiteral("a b.jpg"), QSize(160, 120));
    open(path, 1);
    EXPECT_EQ(m_viewer->windowTitle(), path + QStringLiteral("   (160 × 120 )"));
}

// A 640 x 480 shot its camera held upright (orientation 6) stands, and the title gives the
// size as shown; with the setting off the viewer shows the stored picture as it always did.
TEST_F(FrmPictEXTest, PortraitShotStandsUnlessTheSettingIsOff)
{
    CameraShot shot;
    shot.orientation = 6;
    const QString path = writeTestFile(m_dir, QStringLiteral("portrait.jpg"), cameraJpeg(shot));
    open(path, 1);
    EXPECT_EQ(m_viewer->pictureSize(), QSize(480, 640));
    EXPECT_EQ(writefixtures::patternCorners(m_viewer->picture()), QStringLiteral("cadb"));
    EXPECT_EQ(m_viewer->windowTitle(), path + QStringLiteral("   (480 × 640 )"));
    delete m_viewer;

    appSettings().general.AutoOrient = 0;
    open(path, 1);
    EXPECT_EQ(m_viewer->picture(), decodeJpegFile(path).image);
    EXPECT_EQ(m_viewer->windowTitle(), path + QStringLiteral("   (640 × 480 )"));
}

TEST_F(FrmPictEXTest, LargePictureInFittingModeShowsWholeWithinTheWorkArea)
{
    const QString path = writePicture(QStringLiteral("large.jpg"), QSize(2400, 1800));
    open(path, 1);
    const QSize outer = m_viewer->frameGeometry().size();
    EXPECT_LE(outer.width(), workArea().width());
    EXPECT_LE(outer.height(), workArea().height());
    // One side fills the work area; the picture keeps its 4:3 aspect.
    EXPECT_TRUE(outer.width() == workArea().width() || outer.height() == workArea().height());
    const QSize shown = imgDest()->size();
    EXPECT_NEAR(double(shown.width()) / shown.height(), 4.0 / 3.0, 0.01);
    EXPECT_TRUE(imgDest()->isVisible());
    EXPECT_FALSE(picDest()->isVisible());
}

TEST_F(FrmPictEXTest, LargePictureAtNaturalSizeFillsTheWorkAreaAndDragsTwiceAsFar)
{
    const QString path = writePicture(QStringLiteral("large.jpg"), QSize(2400, 1800));
    open(path, 0);
    EXPECT_EQ(m_viewer->frameGeometry().size(), workArea());
    PictureCanvas *canvas = picDest();
    ASSERT_TRUE(canvas->isVisible());
    EXPECT_EQ(canvas->visibleSize(), inner()->size());

    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(canvas, QPoint(190, 195));
    EXPECT_EQ(canvas->scrollOffset(), QPoint(20, 10));
    // Dragging towards the top left corner stops at the picture's far edges.
    QTest::mouseMove(canvas, QPoint(0, 0));
    QTest::mouseMove(canvas, QPoint(-2000, -2000));
    EXPECT_EQ(canvas->scrollOffset(),
              QPoint(2400 - canvas->visibleSize().width(), 1800 - canvas->visibleSize().height()));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(-2000, -2000));
    EXPECT_FALSE(canvas->isDragging());
    // Moving without a button pressed does not scroll.
    const QPoint before = canvas->scrollOffset();
    QTest::mouseMove(canvas, QPoint(300, 300));
    EXPECT_EQ(canvas->scrollOffset(), before);
}

TEST_F(FrmPictEXTest, FiftyMegapixelPictureOpensAndIsHeldOnce)
{
    const QSize size(8660, 5773);
    const QString path = writePicture(QStringLiteral("50mp.jpg"), size);
    open(path, 1);
    EXPECT_EQ(m_viewer->pictureSize(), size);
    EXPECT_TRUE(m_logLines.isEmpty());
    // Both views paint from the window's one decoded copy.
    const uchar *pixels = m_viewer->picture().constBits();
    EXPECT_EQ(imgDest()->picture().constBits(), pixels);
    EXPECT_EQ(picDest()->picture().constBits(), pixels);
    // The fitted view paints the picture scaled from that copy.
    const QImage shown = imgDest()->grab().toImage();
    const QRgb centre = shown.pixel(shown.rect().center());
    EXPECT_LE(qRed(centre) + qAbs(qGreen(centre) - 128) + qBlue(centre), 6) << std::hex << centre;
}

TEST_F(FrmPictEXTest, NarrowPictureDoesNotScrollSideways)
{
    const QString path = writePicture(QStringLiteral("tall.jpg"), QSize(200, 3000));
    open(path, 0);
    PictureCanvas *canvas = picDest();
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(50, 90));
    EXPECT_EQ(canvas->scrollOffset(), QPoint(0, 20));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(50, 90));
}

TEST_F(FrmPictEXTest, ModeSwitchChangesTheSettingAndTheChecks)
{
    const QString path = writePicture(QStringLiteral("p.jpg"), QSize(320, 240));
    open(path, 0);
    EXPECT_TRUE(action("mnuOptionOriginSize")->isChecked());
    EXPECT_TRUE(action("popMnuOriginSize")->isChecked());
    EXPECT_FALSE(action("mnuOptionAutoSize")->isChecked());

    action("mnuOptionAutoSize")->trigger();
    EXPECT_EQ(appSettings().general.gAutoSizeFit, 1);
    EXPECT_TRUE(m_viewer->showsFitted());
    EXPECT_TRUE(action("mnuOptionAutoSize")->isChecked());
    EXPECT_TRUE(action("popMnuAutoSize")->isChecked());
    EXPECT_FALSE(action("mnuOptionOriginSize")->isChecked());
    EXPECT_FALSE(action("popMnuOriginSize")->isChecked());

    // Choosing the mode that is already on keeps it checked.
    action("mnuOptionAutoSize")->trigger();
    EXPECT_TRUE(action("mnuOptionAutoSize")->isChecked());

    action("popMnuOriginSize")->trigger();
    EXPECT_EQ(appSettings().general.gAutoSizeFit, 0);
    EXPECT_FALSE(m_viewer->showsFitted());
    EXPECT_TRUE(action("mnuOptionOriginSize")->isChecked());
}

TEST_F(FrmPictEXTest, MenusCarryTheirCaptionsAndWallpaperWaits)
{
    open(writePicture(QStringLiteral("p.jpg"), QSize(64, 48)), 1);
    const QList<QAction *> bar = m_viewer->menuBar()->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(bar[1]->text(), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    EXPECT_EQ(captions(bar[0]->menu()),
              (QStringList{QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑの起動(&M)"), QStringLiteral("-"),
                           QStringLiteral("閉じる(&X)")}));
    EXPECT_EQ(captions(bar[1]->menu()),
              (QStringList{QStringLiteral("自動ｻｲｽﾞ調整(&S)"), QStringLiteral("実寸で表示(&J)"),
                           QStringLiteral("-"), QStringLiteral("壁紙に設定...")}));
    const QMenu *pop = m_viewer->findChild<QMenu *>(QStringLiteral("mnuPop"));
    ASSERT_NE(pop, nullptr);
    EXPECT_EQ(captions(pop),
              (QStringList{QStringLiteral("自動ｻｲｽﾞ調整(&S)"), QStringLiteral("実寸で表示(J)"),
                           QStringLiteral("-"), QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑの起動(&M)"),
                           QStringLiteral("-"), QStringLiteral("壁紙に設定(&W)..."),
                           QStringLiteral("-"), QStringLiteral("閉じる(&X)")}));
    EXPECT_TRUE(action("mnuSetWallPaper")->isEnabled());
    EXPECT_TRUE(action("popMnuWallPaper")->isEnabled());
}

TEST_F(FrmPictEXTest, RightClickPopUpOffersTheProgramOnlyWhenOneIsSet)
{
    open(writePicture(QStringLiteral("p.jpg"), QSize(320, 240)), 1);
    auto *pop = m_viewer->findChild<QMenu *>(QStringLiteral("mnuPop"));
    for (bool defined : {false, true}) {
        appSettings().exProgram.gDefExPro = defined;
        QTest::mouseClick(imgDest(), Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_TRUE(pop->isVisible());
        EXPECT_EQ(action("popMnuEXProgram")->isEnabled(), defined);
        EXPECT_TRUE(action("popMnuExit")->isEnabled());
        pop->hide();
    }
}

TEST_F(FrmPictEXTest, MissingPictureIsReportedAndTheViewerStaysEmpty)
{
    RecordingPrompter prompts;
    prompts.queueAnswer(PromptAnswer::Ok);
    const QString path = m_dir.filePath(QStringLiteral("gone.jpg"));
    open(path, 1);
    ASSERT_EQ(prompts.requests().size(), 1);
    EXPECT_EQ(prompts.requests()[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.requests()[0].title, QString());
    EXPECT_EQ(prompts.requests()[0].text, path + QStringLiteral("が読み込めません。"));
    EXPECT_EQ(prompts.requests()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(m_viewer->pictureSize(), QSize(0, 0));
    EXPECT_TRUE(m_logLines.isEmpty());
}

// A damaged picture, or a FIFO named like one (never waited on), is logged; the viewer opens
// empty.
TEST_F(FrmPictEXTest, UndecodablePictureGoesToTheErrorLog)
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8\xFF\xE0 not really a picture");
    file.close();
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    for (const QString &path : {broken, pipe}) {
        delete m_viewer;
        m_logLines.clear();
        open(path, 1);
        ASSERT_EQ(m_logLines.size(), 1) << path.toStdString();
        EXPECT_TRUE(m_logLines[0].contains(QStringLiteral(" : frmpicEX : ")))
            << m_logLines[0].toStdString();
        EXPECT_EQ(m_viewer->pictureSize(), QSize(0, 0));
        EXPECT_TRUE(m_viewer->isVisible());
    }
}

TEST_F(FrmPictEXTest, EscapeClosesAndReleasesThePicture)
{
    open(writePicture(QStringLiteral("p.jpg"), QSize(64, 48)), 1);
    QTest::keyClick(m_viewer, Qt::Key_Escape);
    EXPECT_FALSE(m_viewer->isVisible());
    EXPECT_EQ(m_viewer->pictureSize(), QSize(0, 0));
}
