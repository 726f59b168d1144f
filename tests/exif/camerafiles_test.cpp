#include "exif/exifdata.h"
#include "exif/exifthumb.h"
#include "tests/support/camerafixture.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Expected values read with `exiftool -a -G1 -n` and `exiftool -v3` (raw counts, entry
// order, rationals), and the thumbnails' SHA-1 from `exiftool -b -ThumbnailImage FILE`,
// applying the reader's own rules: the later date and shutter entry win, texts keep count - 1
// bytes untrimmed.

namespace
{

struct CameraFile {
    const char *name;
    const char *byteOrder;
    const char *make;
    QByteArray model; // may hold a NUL
    const char *software;
    const char *date;
    qint32 width;
    qint32 height;
    const char *flash;
    const char *shutter;
    double fNumber;
    const char *pictureMode;
    const char *metering;
    const char *program;
    double focalLength;
    const char *version;
    qint16 iso;
    qint16 thumbLength;
    const char *thumbSha1;
};

// Test lists and failure messages name the file instead of dumping the struct's bytes.
void PrintTo(const CameraFile &file, std::ostream *os)
{
    *os << file.name;
}

void expectCamera(const ExifData &exif, const CameraFile &c)
{
    ASSERT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.ExifError(), 0);
    EXPECT_EQ(exif.IIMM(), c.byteOrder);
    EXPECT_EQ(exif.MakerExif(), c.make);
    EXPECT_EQ(exif.ModelExif(), QString::fromLatin1(c.model));
    EXPECT_EQ(exif.SoftwearExif(), c.software);
    EXPECT_EQ(exif.DateExif(), c.date);
    EXPECT_EQ(exif.SizeExifX(), c.width);
    EXPECT_EQ(exif.SizeExifY(), c.height);
    EXPECT_EQ(exif.FlashExif(), QString::fromUtf8(c.flash));
    EXPECT_EQ(exif.ShutterSpeed(), c.shutter);
    EXPECT_DOUBLE_EQ(exif.Fnumber(), c.fNumber);
    EXPECT_EQ(exif.PictureMode(), QString::fromUtf8(c.pictureMode));
    EXPECT_EQ(exif.SokkouMode(), QString::fromUtf8(c.metering));
    EXPECT_EQ(exif.RosyutsuProgram(), QString::fromUtf8(c.program));
    EXPECT_DOUBLE_EQ(exif.FocalLength(), c.focalLength);
    EXPECT_EQ(exif.ExpBiasVal(), " 0");
    EXPECT_EQ(exif.VersionExif(), c.version);
    EXPECT_EQ(exif.ISOspeedRate(), c.iso);
    EXPECT_TRUE(exif.HaveThumb());
}

void expectThumb(const QString &path, const CameraFile &c)
{
    ExifThumb reader;
    QByteArray thumb;
    EXPECT_EQ(reader.GetThumb(path, thumb), c.thumbLength);
    EXPECT_EQ(QCryptographicHash::hash(thumb, QCryptographicHash::Sha1).toHex(), c.thumbSha1);
}

class CameraFileTest : public ::testing::TestWithParam<CameraFile>
{
  protected:
    void SetUp() override { m_path = cameraFixture(GetParam().name); }

    QString m_path;
};

TEST_P(CameraFileTest, ReadsWhatTheCameraWrote)
{
    ExifData exif;
    exif.SetExif(m_path);
    expectCamera(exif, GetParam());
}

TEST_P(CameraFileTest, ExtractsTheThumbnail)
{
    expectThumb(m_path, GetParam());
}

// The same file made progressive keeps its Exif segment first: nothing changes.
TEST_P(CameraFileTest, ProgressiveCopyReadsTheSame)
{
    const QString jpegtran = QStandardPaths::findExecutable(QStringLiteral("jpegtran"));
    if (jpegtran.isEmpty())
        GTEST_SKIP() << "jpegtran is not installed";
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("progressive.jpg"));
    QProcess process;
    process.setStandardOutputFile(copy);
    process.start(jpegtran, {QStringLiteral("-progressive"), QStringLiteral("-copy"),
                             QStringLiteral("all"), m_path});
    ASSERT_TRUE(process.waitForFinished());
    ASSERT_EQ(process.exitCode(), 0);
    ExifData exif;
    exif.SetExif(copy);
    expectCamera(exif, GetParam());
    expectThumb(copy, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Exif, CameraFileTest,
    ::testing::Values(CameraFile{"canon-ixus.jpg", "II", "Canon",
                                 QByteArray("Canon DIGITAL IXUS\0", 19), "", "2001/06/09 15:17:32",
                                 640, 480, "OFF", "1/350", 4.0, "未定義", "中央重点", "未定義",
                                 10.8125, "2.1", 0, 5342,
                                 "8205dce21d3cd87b853f4d114d9761be9b140f0d"},
                      CameraFile{"olympus-c960.jpg", "II", "OLYMPUS OPTICAL CO.,LTD", "C960Z,D460Z",
                                 "OLYMPUS CAMEDIA Master", "2000/11/07 10:41:43", 1280, 960, "OFF",
                                 "1/345", 8.0, "BASIC", "分割測光", "ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ", 5.6, "2.1", 125,
                                 5145, "0668c5cffb096448025f034e936297d60ce17da7"},
                      CameraFile{"DSCN0010.jpg", "II", "NIKON", "COOLPIX P6000",
                                 "Nikon Transfer 1.1 W", "2008/10/22 16:28:39", 640, 480, "未定義",
                                 "1/75", 5.9, "未定義", "分割測光", "ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ", 24.0, "2.2", 64,
                                 6702, "80921ff111020e4b6fa2da5304be06525ac21be9"},
                      CameraFile{"fujifilm-finepix40i.jpg", "MM", "FUJIFILM", "FinePix40i",
                                 "Digital Camera FinePix40i Ver1.39", "2000/08/04 18:22:57", 2400,
                                 1800, "ON ", "1/45", 2.8, "未定義", "分割測光", "ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ", 8.7,
                                 "2.1", 200, 8691, "2a5a11d0ad88257c0c50c928b8279e01d3a70fb9"},
                      CameraFile{"kodak-dc240.jpg", "MM", "EASTMAN KODAK COMPANY",
                                 "KODAK DC240 ZOOM DIGITAL CAMERA", "", "1999/05/25 21:00:09", 1280,
                                 960, "ON ", "1/32", 4.0, "未定義", "平均", "未定義", 14.0, "2.1",
                                 0, 6934, "7e0a9d24b200be346c25dfe670d5284be28457e1"}),
    [](const ::testing::TestParamInfo<CameraFile> &info) {
        std::string name = info.param.name;
        name = name.substr(0, name.find('.'));
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// The E950 writes a JFIF segment in front of its Exif one.
TEST(CameraFileTest, ExifBehindJfifIsRead)
{
    const QString nikon = cameraFixture("nikon-e950.jpg");
    if (nikon.isEmpty())
        return;
    ExifData exif;
    exif.SetExif(nikon);
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.ExifError(), 0);
    EXPECT_EQ(exif.MakerExif(), QStringLiteral("NIKON"));
    EXPECT_EQ(exif.IIMM(), QStringLiteral("II"));

    ExifThumb reader;
    QByteArray thumb;
    EXPECT_NE(reader.GetThumb(nikon, thumb), 0);
    EXPECT_TRUE(reader.IsExif());
    EXPECT_TRUE(thumb.startsWith("\xFF\xD8"));
}

// exiftool rewrites the Canon header big-endian; it keeps the texts and the thumbnail but
// stores FocalLength as 54/5 (exiftool -v3 on the copy).
TEST(CameraFileTest, BigEndianRewriteReadsTheSame)
{
    const QString canon = cameraFixture("canon-ixus.jpg");
    if (canon.isEmpty())
        return;
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    if (exiftool.isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("mm.jpg"));
    QProcess process;
    process.start(exiftool, {QStringLiteral("-q"), QStringLiteral("-exif:all="),
                             QStringLiteral("-tagsfromfile"), QStringLiteral("@"),
                             QStringLiteral("-exif:all"), QStringLiteral("-unsafe"),
                             QStringLiteral("-thumbnailimage"), QStringLiteral("-ExifByteOrder=MM"),
                             QStringLiteral("-o"), copy, canon});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0);

    ExifData exif;
    exif.SetExif(copy);
    ASSERT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.IIMM(), "MM");
    EXPECT_EQ(exif.MakerExif(), "Canon");
    EXPECT_EQ(exif.DateExif(), "2001/06/09 15:17:32");
    EXPECT_EQ(exif.SizeExifX(), 640);
    EXPECT_EQ(exif.SizeExifY(), 480);
    EXPECT_EQ(exif.ShutterSpeed(), "1/350");
    EXPECT_EQ(exif.SokkouMode(), "中央重点");
    EXPECT_EQ(exif.VersionExif(), "2.1");
    EXPECT_DOUBLE_EQ(exif.FocalLength(), 10.8);
    ExifThumb reader;
    QByteArray thumb;
    EXPECT_EQ(reader.GetThumb(copy, thumb), 5342);
    EXPECT_EQ(QCryptographicHash::hash(thumb, QCryptographicHash::Sha1).toHex(),
              "8205dce21d3cd87b853f4d114d9761be9b140f0d");
}

} // namespace
