#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/panellines.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"

namespace
{

CameraTable shippedTable()
{
    CameraTable table;
    table.load(QStringLiteral(TABILO_CAMERA_TABLE));
    return table;
}

QString kilobytes(const QString &path)
{
    return QString::number(qRound(QFileInfo(path).size() / 1024.0));
}

// The zoom compact's shot: DateTimeDigitized 2001:06:09 15:17:32, 640 x 480, Flash 0,
// ShutterSpeedValue 553859/65536 (after ExposureTime), FNumber 40/10, CompressedBitsPerPixel
// 3/1, no ExposureProgram, MeteringMode 2, ExposureBias 0/3, no ISO, ExifVersion 0210, Model
// of 20 bytes with two zero bytes, no Software.
TEST(PanelLines, ExifFileWithAZoomRecord)
{
    QTemporaryDir folder;
    const QString path =
        writeTestFile(folder, QStringLiteral("zoom.jpg"), cameraJpeg(zoomCompactShot()));
    const std::optional<PanelContent> panel = panelContentForFile(path, QString(), shippedTable());
    ASSERT_TRUE(panel.has_value());
    const QStringList expected = {
        QStringLiteral("2001/06/09 15:17:32"),
        QStringLiteral("幅   : 640"),
        QStringLiteral("高さ : 480"),
        QStringLiteral("FLASH  : OFF"),
        QStringLiteral("SHUTTER : 1/350 sec"),
        QStringLiteral("F  : 4.0"),
        QStringLiteral("f  = 70mm (35mm換算)"),
        QStringLiteral("×2.0"),
        QStringLiteral("画像MODE    : 未定義"),
        QStringLiteral("露出ﾌﾟﾛｸﾞﾗﾑ : 未定義"),
        QStringLiteral("測光方式    : 中央重点"),
        QStringLiteral("露光補正    :  0"),
        QStringLiteral("ISO感度     :  0"),
        QStringLiteral("Exif Ver.  2.1"),
        QStringLiteral("FILE SIZE  : ") + kilobytes(path) + QStringLiteral(" KB"),
        QStringLiteral("Canon"),
        QStringLiteral("Canon DIGITAL IXUS") + QChar(0),
        QString(),
    };
    EXPECT_EQ(panel->lines, expected);
    EXPECT_TRUE(panel->sliderVisible);
    EXPECT_EQ(panel->sliderMinimum, 5);
    EXPECT_EQ(panel->sliderMaximum, 10);
    EXPECT_EQ(panel->sliderValue, 10);
}

// The big-endian compact's shot: a fixed-lens record; FocalLength 870/100, Flash 1,
// ShutterSpeedValue 550/100, FNumber 280/100, ExposureProgram 2, MeteringMode 5, ISO 200.
TEST(PanelLines, ExifFileWithAFixedLensRecord)
{
    QTemporaryDir folder;
    const QString path =
        writeTestFile(folder, QStringLiteral("fixed.jpg"), cameraJpeg(bigEndianCompactShot()));
    const std::optional<PanelContent> panel = panelContentForFile(path, QString(), shippedTable());
    ASSERT_TRUE(panel.has_value());
    EXPECT_EQ(panel->lines[3], QStringLiteral("FLASH  : ON "));
    EXPECT_EQ(panel->lines[4], QStringLiteral("SHUTTER : 1/45 sec"));
    EXPECT_EQ(panel->lines[5], QStringLiteral("F  : 2.8"));
    EXPECT_EQ(panel->lines[6], QStringLiteral("f  = 36mm (35mm換算)"));
    EXPECT_EQ(panel->lines[7], QString());
    EXPECT_EQ(panel->lines[9], QStringLiteral("露出ﾌﾟﾛｸﾞﾗﾑ : ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ"));
    EXPECT_EQ(panel->lines[10], QStringLiteral("測光方式    : 分割測光"));
    EXPECT_EQ(panel->lines[12], QStringLiteral("ISO感度     :  200"));
    EXPECT_EQ(panel->lines[17], QStringLiteral("Digital Camera FinePix40i Ver1.39"));
    EXPECT_FALSE(panel->sliderVisible);
}

TEST(PanelLines, ExifFileOfACameraNotInTheTable)
{
    QTemporaryDir folder;
    const QString path =
        writeTestFile(folder, QStringLiteral("zoom.jpg"), cameraJpeg(zoomCompactShot()));
    const std::optional<PanelContent> panel = panelContentForFile(path, QString(), CameraTable());
    ASSERT_TRUE(panel.has_value());
    EXPECT_EQ(panel->lines[6], QStringLiteral("f  = 10.8125 mm"));
    EXPECT_EQ(panel->lines[7], QString());
    EXPECT_FALSE(panel->sliderVisible);
}

// A plain JPEG without Exif; 800 x 600 frame.
TEST(PanelLines, NonExifFileTakesItsSizeFromTheTag)
{
    QTemporaryDir folder;
    const QString path = writeTestFile(folder, QStringLiteral("jfif.jpg"),
                                       writefixtures::plainJpeg(QSize(800, 600)));
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const std::optional<PanelContent> panel =
        panelContentForFile(path, QStringLiteral("0160001200"), shippedTable(), japanese);
    ASSERT_TRUE(panel.has_value());
    const QStringList expected = {
        japanese.toString(QFileInfo(path).lastModified(), QLocale::ShortFormat),
        QStringLiteral("幅   : 1600"),
        QStringLiteral("高さ : 1200"),
        QStringLiteral("FLASH  : "),
        QStringLiteral("SHUTTER : "),
        QStringLiteral("F  : "),
        QStringLiteral("f  ="),
        QString(),
        QStringLiteral("画像MODE    : "),
        QStringLiteral("露出ﾌﾟﾛｸﾞﾗﾑ : "),
        QStringLiteral("測光方式    : "),
        QStringLiteral("露光補正    : "),
        QStringLiteral("ISO感度     :  "),
        QStringLiteral("Exif Ver.  "),
        QStringLiteral("FILE SIZE  : ") + kilobytes(path) + QStringLiteral(" KB"),
        QString(),
        QString(),
        QString(),
    };
    EXPECT_EQ(panel->lines, expected);
    EXPECT_FALSE(panel->sliderVisible);

    // Without a tag the size comes from the frame header.
    const std::optional<PanelContent> untagged =
        panelContentForFile(path, QString(), CameraTable());
    ASSERT_TRUE(untagged.has_value());
    EXPECT_EQ(untagged->lines[1], QStringLiteral("幅   : 800"));
    EXPECT_EQ(untagged->lines[2], QStringLiteral("高さ : 600"));
}

TEST(PanelLines, PlainPanelDateAndSize)
{
    const QDateTime modified(QDate(2003, 7, 15), QTime(18, 42, 5));
    const PanelContent panel = plainPanelContent(modified, JpegSize{1601, 1200}, 2000 * 1024,
                                                 QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(panel.lines[0], QStringLiteral("2003/07/15 18:42"));
    EXPECT_EQ(panel.lines[1], QStringLiteral("幅   : 1601"));
    EXPECT_EQ(panel.lines[14], QStringLiteral("FILE SIZE  : 2000 KB"));
}

TEST(PanelLines, MissingFileChangesNothing)
{
    EXPECT_FALSE(panelContentForFile(QStringLiteral("/nonexistent/a.jpg"), QString(), CameraTable())
                     .has_value());
}

TEST(PanelLines, FileSizeInKilobytes)
{
    EXPECT_EQ(fileSizeLine(0), QStringLiteral("FILE SIZE  : 0 KB"));
    EXPECT_EQ(fileSizeLine(511), QStringLiteral("FILE SIZE  : 0 KB"));
    EXPECT_EQ(fileSizeLine(512), QStringLiteral("FILE SIZE  : 1 KB")); // halves round up
    EXPECT_EQ(fileSizeLine(1535), QStringLiteral("FILE SIZE  : 1 KB"));
    EXPECT_EQ(fileSizeLine(2560), QStringLiteral("FILE SIZE  : 3 KB"));
    EXPECT_EQ(fileSizeLine(qint64(5) * 1024 * 1024 * 1024),
              QStringLiteral("FILE SIZE  : 5242880 KB"));
}

TEST(PanelLines, SizeTags)
{
    EXPECT_EQ(sizeTag(1600, 1200), QStringLiteral("0160001200"));
    EXPECT_EQ(sizeTag(123456, 7), QStringLiteral("2345600007"));
    const std::optional<JpegSize> size = sizeFromTag(QStringLiteral("0160001200"));
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 1600);
    EXPECT_EQ(size->height, 1200);
    EXPECT_FALSE(sizeFromTag(QString()).has_value());
    EXPECT_FALSE(sizeFromTag(QStringLiteral("016000120")).has_value());
    EXPECT_FALSE(sizeFromTag(QStringLiteral("01600-1200")).has_value());
}

TEST(PanelLines, VisibilityTexts)
{
    EXPECT_EQ(visibilityText(false), QStringLiteral(" 公開画像です。"));
    EXPECT_EQ(visibilityText(true), QStringLiteral(" 非公開画像です。"));
}

} // namespace
