#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "core/twips.h"
#include "platform/fileattributes.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/recordingprompter.h"
#include "ui/frminfo.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{

// zoom3x.jpg: a 320 x 240 picture written by exiftool with Make "Tabilo Test", Model "Zoom 3x",
// FocalLength 10.8, DateTimeOriginal 2004:05:06 07:08:09, ExposureTime 1/125, FNumber 4,
// Flash 1, ExposureProgram 2, MeteringMode 5, ExposureCompensation 1, ISO 200, ExifVersion
// 0220, CompressedBitsPerPixel 2, ExifImageWidth 320, ExifImageHeight 240, Software
// "TestSoft 1.0"; 1901 bytes, no JFIF segment.
const QString kZoomPicture = QStringLiteral(TABILO_PANEL_FIXTURES "/zoom3x.jpg");

// The worked example of the camera table: a 3x zoom with its wide end at 5.4 mm, 35 mm on film.
const QByteArray kCameraTable = "'test cameras\r\n"
                                "\"Zoom 3x\",3,5.4,35\r\n"
                                "\"Fixed\",1,6,38\r\n";

// A prompter that also records whether the main window could be seen when a message came.
class VisibilityPrompter : public RecordingPrompter
{
  public:
    QList<bool> windowVisible;

    PromptAnswer message(PromptIcon icon, const QString &title, const QString &text,
                         PromptButtons buttons) override
    {
        bool visible = false;
        for (const QWidget *top : QApplication::topLevelWidgets()) {
            if (qobject_cast<const Form1 *>(top))
                visible = top->isVisible();
        }
        windowVisible.append(visible);
        return RecordingPrompter::message(icon, title, text, buttons);
    }
};

class PanelTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        appSettings() = AppSettings{};
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("program")));
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("pictures")));
        writeStore("[Settings]\nJpg2Exif=1\n");
    }

    QString programFolder() const { return m_root.filePath(QStringLiteral("program")); }
    QString picture(const QString &name) const
    {
        return m_root.filePath(QStringLiteral("pictures/") + name);
    }

    void writeFile(const QString &path, const QByteArray &contents) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    void writeStore(const QByteArray &contents) const
    {
        writeFile(m_root.filePath(QStringLiteral("Tabilo.conf")), contents);
    }

    void writeCameraTable() const
    {
        writeFile(programFolder() + QStringLiteral("/Tabilo.dat"), kCameraTable);
    }

    // The Exif picture and a plain 200 x 100 JPEG (Qt writes no Exif header).
    void writePictures() const
    {
        ASSERT_TRUE(QFile::copy(kZoomPicture, picture(QStringLiteral("zoom3x.jpg"))));
        QFile::setPermissions(picture(QStringLiteral("zoom3x.jpg")),
                              QFile::ReadOwner | QFile::WriteOwner);
        QImage plain(200, 100, QImage::Format_RGB32);
        plain.fill(Qt::darkGreen);
        ASSERT_TRUE(plain.save(picture(QStringLiteral("plain.jpg")), "JPEG"));
    }

    Form1 &start()
    {
        m_store = std::make_unique<QSettings>(m_root.filePath(QStringLiteral("Tabilo.conf")),
                                              QSettings::IniFormat);
        m_form = std::make_unique<Form1>(*m_store, programFolder());
        return *m_form;
    }

    // Opens the pictures folder as File > Open does and waits for the scan to end.
    Form1 &startWithPictures()
    {
        writeCameraTable();
        writePictures();
        Form1 &form = start();
        QCoreApplication::processEvents();
        m_prompts.queueOpenFile(picture(QStringLiteral("zoom3x.jpg")));
        form.mnuFileOpen_Click();
        return form;
    }

    void clickItem(const QString &name)
    {
        const int row = m_form->thumbnailModel()->rowOfName(name);
        ASSERT_GE(row, 0) << qPrintable(name);
        QListView *list = m_form->listView();
        const QRect place = list->visualRect(m_form->thumbnailModel()->index(row));
        ASSERT_TRUE(place.isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }

    QStringList panelLines() const
    {
        QStringList lines;
        for (int i = 1; i <= 18; ++i)
            lines.append(m_form->labelA(i)->text());
        return lines;
    }

    QTemporaryDir m_root;
    VisibilityPrompter m_prompts;
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<Form1> m_form;
};

TEST_F(PanelTest, ExifPictureShowsItsDataAndTheZoomFromTheCameraTable)
{
    Form1 &form = startWithPictures();
    ASSERT_EQ(form.thumbnailModel()->rowCount(), 2);
    clickItem(QStringLiteral("zoom3x.jpg"));

    const QStringList expected = {
        QStringLiteral("2004/05/06 07:08:09"),
        QStringLiteral("幅   : 320"),
        QStringLiteral("高さ : 240"),
        QStringLiteral("FLASH  : ON "),
        QStringLiteral("SHUTTER : 1/125 sec"),
        QStringLiteral("F  : 4.0"),
        QStringLiteral("f  = 70mm (35mm換算)"),
        QStringLiteral("×2.0"),
        QStringLiteral("画像MODE    : NORMAL"),
        QStringLiteral("露出ﾌﾟﾛｸﾞﾗﾑ : ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ"),
        QStringLiteral("測光方式    : 分割測光"),
        QStringLiteral("露光補正    : +1.0 "),
        QStringLiteral("ISO感度     :  200"),
        QStringLiteral("Exif Ver.  2.2"),
        QStringLiteral("FILE SIZE  : 2 KB"),
        QStringLiteral("Tabilo Test"),
        QStringLiteral("Zoom 3x"),
        QStringLiteral("TestSoft 1.0"),
    };
    EXPECT_EQ(panelLines(), expected);

    const QSlider *slider = form.slider1();
    EXPECT_TRUE(slider->isVisible());
    EXPECT_EQ(slider->minimum(), 5);
    EXPECT_EQ(slider->maximum(), 15);
    EXPECT_EQ(slider->value(), 10);
    // The slider shows the zoom; it takes no mouse input.
    EXPECT_TRUE(slider->testAttribute(Qt::WA_TransparentForMouseEvents));

    EXPECT_EQ(form.statusPanel(2)->text(), QStringLiteral(" 公開画像です。"));
    EXPECT_EQ(form.commandState(), 4);
    EXPECT_EQ(appSettings().general.currentPicture, picture(QStringLiteral("zoom3x.jpg")));
    EXPECT_EQ(appSettings().slide.startItem, 2); // after plain.jpg, counted from 1
}

TEST_F(PanelTest, PlainPictureShowsDateSizeFromTheTagAndCaptionsAlone)
{
    Form1 &form = startWithPictures();
    const int row = form.thumbnailModel()->rowOfName(QStringLiteral("plain.jpg"));
    ASSERT_EQ(form.thumbnailModel()->tag(row), QStringLiteral("0020000100"));
    const QFileInfo file(picture(QStringLiteral("plain.jpg")));
    clickItem(QStringLiteral("plain.jpg"));

    const QStringList lines = panelLines();
    EXPECT_EQ(lines[0], QLocale::system().toString(file.lastModified(), QLocale::ShortFormat));
    EXPECT_EQ(lines[1], QStringLiteral("幅   : 200"));
    EXPECT_EQ(lines[2], QStringLiteral("高さ : 100"));
    EXPECT_EQ(lines[3], QStringLiteral("FLASH  : "));
    EXPECT_EQ(lines[4], QStringLiteral("SHUTTER : "));
    EXPECT_EQ(lines[6], QStringLiteral("f  ="));
    EXPECT_EQ(lines[7], QString());
    EXPECT_EQ(lines[12], QStringLiteral("ISO感度     :  "));
    EXPECT_EQ(lines[14], QStringLiteral("FILE SIZE  : ") +
                             QString::number(qRound(file.size() / 1024.0)) + QStringLiteral(" KB"));
    EXPECT_EQ(lines.mid(15), QStringList(3));
    EXPECT_FALSE(form.slider1()->isVisible());
    EXPECT_EQ(appSettings().slide.startItem, 1);
}

// Model "Canon DIGITAL IXUS" in 20 bytes, padded with zero bytes; FocalLength 10.8125.
TEST_F(PanelTest, ModelPaddedWithZeroBytesEndsAtThePadding)
{
    writeFile(programFolder() + QStringLiteral("/Tabilo.dat"), "\"Canon DIGITAL IXUS\",2,5.4,35\n");
    writeFile(picture(QStringLiteral("canon-ixus.jpg")), cameraJpeg(zoomCompactShot()));
    Form1 &form = start();
    m_prompts.queueOpenFile(picture(QStringLiteral("canon-ixus.jpg")));
    form.mnuFileOpen_Click();
    clickItem(QStringLiteral("canon-ixus.jpg"));
    EXPECT_EQ(form.labelA(17)->text(), QStringLiteral("Canon DIGITAL IXUS"));
    EXPECT_EQ(form.labelA(7)->text(), QStringLiteral("f  = 70mm (35mm換算)"));
    EXPECT_EQ(form.labelA(8)->text(), QStringLiteral("×2.0"));
    EXPECT_EQ(form.slider1()->maximum(), 10);
    EXPECT_EQ(form.slider1()->value(), 10);
}

TEST_F(PanelTest, HiddenPictureIsReportedPrivate)
{
    writeCameraTable();
    writePictures();
    ASSERT_TRUE(setAttributes(picture(QStringLiteral("plain.jpg")), FileAttribute::Hidden).ok());
    Form1 &form = start();
    m_prompts.queueOpenFile(picture(QStringLiteral("plain.jpg")));
    form.mnuFileOpen_Click();

    clickItem(QStringLiteral("plain.jpg"));
    EXPECT_EQ(form.statusPanel(2)->text(), QStringLiteral(" 非公開画像です。"));
    EXPECT_EQ(form.labelA(7)->text(), QStringLiteral("f  ="));
    clickItem(QStringLiteral("zoom3x.jpg"));
    EXPECT_EQ(form.statusPanel(2)->text(), QStringLiteral(" 公開画像です。"));
}

TEST_F(PanelTest, VanishedPictureKeepsThePanelButBecomesCurrent)
{
    Form1 &form = startWithPictures();
    clickItem(QStringLiteral("zoom3x.jpg"));
    const QStringList before = panelLines();
    clickItem(QStringLiteral("zoom3x.jpg")); // the same item again: the same lines
    EXPECT_EQ(panelLines(), before);

    ASSERT_TRUE(QFile::remove(picture(QStringLiteral("plain.jpg"))));
    clickItem(QStringLiteral("plain.jpg"));
    EXPECT_EQ(panelLines(), before);
    EXPECT_EQ(form.statusPanel(2)->text(), QStringLiteral(" 公開画像です。"));
    EXPECT_EQ(appSettings().general.currentPicture, picture(QStringLiteral("plain.jpg")));
    EXPECT_EQ(appSettings().slide.startItem, 1);
}

TEST_F(PanelTest, ArrowKeySelectsTheNextItemLikeAClick)
{
    Form1 &form = startWithPictures();
    clickItem(QStringLiteral("plain.jpg"));
    EXPECT_EQ(form.labelA(17)->text(), QString());
    form.listView()->setFocus();
    QTest::keyClick(form.listView(), Qt::Key_Right);
    EXPECT_EQ(form.labelA(17)->text(), QStringLiteral("Zoom 3x"));
    EXPECT_EQ(appSettings().slide.startItem, 2);
}

TEST_F(PanelTest, SelectAllShowsTheFirstPicture)
{
    Form1 &form = startWithPictures();
    clickItem(QStringLiteral("zoom3x.jpg"));
    form.command(QStringLiteral("mnuEditSelAll"))->trigger();
    EXPECT_EQ(form.labelA(2)->text(), QStringLiteral("幅   : 200")); // plain.jpg, the first
    EXPECT_EQ(appSettings().general.currentPicture, picture(QStringLiteral("plain.jpg")));
    EXPECT_EQ(appSettings().slide.startItem, 1);
    EXPECT_EQ(form.listView()->selectionModel()->selectedIndexes().size(), 2);
    EXPECT_EQ(form.statusPanel(1)->text(), QStringLiteral(" 2 ﾌｧｲﾙを選択しました。"));
}

TEST_F(PanelTest, PressOnTheListWithASelectionEntersStateFour)
{
    Form1 &form = startWithPictures();
    EXPECT_EQ(form.commandState(), 3);
    form.listView()->selectionModel()->select(form.thumbnailModel()->index(0),
                                              QItemSelectionModel::Select);
    QTest::mousePress(form.listView()->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(form.commandState(), 4);
    QTest::mouseRelease(form.listView()->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
}

TEST_F(PanelTest, LoadedCameraTableCountsItsModels)
{
    writeCameraTable();
    Form1 &form = start();
    QTest::qWait(20);
    EXPECT_EQ(form.cameraTable().count(), 2);
    EXPECT_EQ(form.statusPanel(1)->text(), QStringLiteral(" 2 ﾓﾃﾞﾙのﾃﾞｰﾀを読み込みました。"));
    EXPECT_TRUE(m_prompts.requests().isEmpty());
}

TEST_F(PanelTest, MissingCameraTableWarnsOnceAfterTheWindowIsVisible)
{
    Form1 &form = start();
    EXPECT_TRUE(m_prompts.requests().isEmpty()); // not during start-up
    m_prompts.queueAnswer(PromptAnswer::Ok);
    QTest::qWait(20);
    QTest::qWait(20);

    ASSERT_EQ(m_prompts.requests().size(), 1);
    const RecordingPrompter::Request &warning = m_prompts.requests()[0];
    EXPECT_EQ(warning.icon, PromptIcon::Exclamation);
    EXPECT_EQ(warning.title, QStringLiteral("ﾌｧｲﾙが見つかりません"));
    EXPECT_EQ(warning.text,
              QStringLiteral("tabilo.datが見つかりません。\r\n動作には問題ありませんが、"
                             "35mm換算のｆ値 及び ｽﾞｰﾑの倍率が表示されません"));
    EXPECT_EQ(warning.buttons, PromptButtons::Ok);
    EXPECT_EQ(m_prompts.windowVisible, QList<bool>{true});
    EXPECT_EQ(form.cameraTable().count(), 0);
    EXPECT_EQ(form.statusPanel(1)->text(), QString());
    EXPECT_NE(form.frmInfo(), nullptr);
}

TEST_F(PanelTest, UnreadableCameraTableIsLogged)
{
    // A folder in the table's place exists but cannot be read as a file.
    ASSERT_TRUE(QDir(programFolder()).mkdir(QStringLiteral("Tabilo.dat")));
    Form1 &form = start();
    QTest::qWait(20);
    EXPECT_TRUE(m_prompts.requests().isEmpty());
    const QListWidget *log = form.frmInfo()->lines();
    ASSERT_EQ(log->count(), 1);
    EXPECT_TRUE(
        log->item(0)->text().startsWith(QStringLiteral(" 75 : read datafile : Tabilo でｴﾗｰ発生。")))
        << qPrintable(log->item(0)->text());
    EXPECT_EQ(form.statusPanel(1)->bevel(), StatusPanel::Bevel::Raised);
}

class LayoutTest : public PanelTest
{
  protected:
    // A window of 900 x 600 pixels (13500 x 9000 twips at 96 DPI).
    Form1 &startSized(const QByteArray &store = "[Settings]\n")
    {
        writeCameraTable();
        writeStore(store + "MainWidth=13500\nMainHeight=9000\n");
        Form1 &form = start();
        QTest::qWait(20);
        return form;
    }

    // Mouse positions every five pixels from `from` to `to`, as a slow drag gives them.
    static QList<int> steps(int from, int to)
    {
        QList<int> positions;
        const int step = to > from ? 5 : -5;
        for (int x = from + step; step > 0 ? x <= to : x >= to; x += step)
            positions.append(x);
        return positions;
    }

    void dragSplitter(QWidget *splitter, int fromX, const QList<int> &toX)
    {
        QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(fromX, 10));
        for (int x : toX) {
            QMouseEvent move(QEvent::MouseMove, QPointF(x, 10),
                             splitter->mapToGlobal(QPointF(x, 10)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(splitter, &move);
        }
    }
};

TEST_F(LayoutTest, ListPanelAndSplitterShareTheArea)
{
    Form1 &form = startSized();
    ASSERT_EQ(form.screen()->logicalDotsPerInchX(), 96);
    const int area = form.centralWidget()->width();
    const QRect list = form.listView()->geometry();
    const QRect panel = form.dataBox()->geometry();
    EXPECT_EQ(panel.width(), 200); // DataWidth 3000
    EXPECT_EQ(panel.right() + 1, area);
    EXPECT_EQ(list.left(), 1); // 20 twips
    EXPECT_EQ(list.top(), 0);  // right under Qt's toolbar
    EXPECT_EQ(panel.left() - (list.right() + 1), 2);
    EXPECT_EQ(form.imgSplit()->geometry(), QRect(list.right() - 1, 0, 4, list.height()));
    EXPECT_EQ(list.height(), form.centralWidget()->height());
}

TEST_F(LayoutTest, PanelLinesFollowTheFontSize)
{
    Form1 &form = startSized("[Settings]\nDataSize=12\n");
    // 425 twips apart and 300 high; the eighteenth line at 7225 twips.
    EXPECT_EQ(form.labelA(1)->geometry(), QRect(13, 0, 174, 20));
    EXPECT_EQ(form.labelA(18)->y(), twipsToPixels(7225, 96));
    EXPECT_EQ(form.labelA(2)->y(), twipsToPixels(425, 96));
    EXPECT_EQ(form.labelA(1)->font().pointSizeF(), 12);
    // The slider on the left of line 8, its zoom text on the right.
    EXPECT_EQ(form.slider1()->geometry().left(), 13);
    EXPECT_EQ(form.labelA(8)->x(), 130);
}

TEST_F(LayoutTest, SplitterBarStopsAtItsLimitsAndMovesTheListAtRelease)
{
    Form1 &form = startSized();
    QWidget *bar = form.pictSplit();
    const QRect listBefore = form.listView()->geometry();
    const int area = form.centralWidget()->width();

    // Far to the left in small steps: the bar stops at its last place beyond 1000 twips
    // (66.7 pixels), and nothing else moves during the drag.
    dragSplitter(form.imgSplit(), 0, steps(0, -800));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_GT(bar->x(), 66);
    EXPECT_LT(bar->x(), 72);
    EXPECT_EQ(form.listView()->geometry(), listBefore);
    QTest::mouseRelease(form.imgSplit(), Qt::LeftButton, {}, QPoint(-800, 10));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_NEAR(form.listView()->geometry().right() + 1, bar->x() + 2, 1);
    EXPECT_NEAR(form.imgSplit()->x(), bar->x(), 1);

    // Far to the right: the bar stops short of W - 1000 twips.
    dragSplitter(form.imgSplit(), 0, steps(0, 900));
    EXPECT_LT(bar->x(), area - 66);
    EXPECT_GT(bar->x(), area - 72);
    QTest::mouseRelease(form.imgSplit(), Qt::LeftButton, {}, QPoint(900, 10));
    EXPECT_LT(form.dataBox()->width(), 66);
    EXPECT_EQ(form.dataBox()->geometry().right() + 1, area);

    // Back to 400 pixels in one move.
    const int from = form.imgSplit()->x();
    dragSplitter(form.imgSplit(), 0, {400 - from});
    QTest::mouseRelease(form.imgSplit(), Qt::LeftButton, {}, QPoint(400 - from, 10));
    EXPECT_NEAR(form.listView()->geometry().right() + 1, 400 + 2, 1);
    EXPECT_NEAR(form.panelWidth(), (area - 400 - 2 - 2) * 15.0, 30);
}

TEST_F(LayoutTest, ReleaseWithoutMovingKeepsTheLayout)
{
    Form1 &form = startSized();
    const QRect list = form.listView()->geometry();
    const QRect panel = form.dataBox()->geometry();
    QTest::mousePress(form.imgSplit(), Qt::LeftButton, {}, QPoint(2, 10));
    QTest::mouseRelease(form.imgSplit(), Qt::LeftButton, {}, QPoint(2, 10));
    EXPECT_EQ(form.listView()->geometry(), list);
    EXPECT_EQ(form.dataBox()->geometry(), panel);
    EXPECT_EQ(form.panelWidth(), 3000);
}

TEST_F(LayoutTest, WindowKeepsItsMinimumSize)
{
    Form1 &form = startSized();
    form.resize(8000 / 15, 3000 / 15);
    QTest::qWait(10);
    EXPECT_EQ(form.size(), QSize(620, 267)); // 9300 x 4000 twips
}

TEST_F(LayoutTest, WidePanelLeavesTheListItsMinimumAndKeepsItsStoredWidth)
{
    Form1 &form = startSized("[Settings]\nDataWidth=30000\n");
    const int area = form.centralWidget()->width();
    EXPECT_EQ(form.listView()->width(), 67); // 1000 twips
    EXPECT_EQ(form.dataBox()->geometry().right() + 1, area);
    EXPECT_EQ(form.panelWidth(), 30000);
    form.close();
    m_store->sync();
    EXPECT_EQ(m_store->value(QStringLiteral("Settings/DataWidth")).toDouble(), 30000);
}

} // namespace
