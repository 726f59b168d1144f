#include "exif/exifdata.h"
#include "exif/exiftags.h"
#include "tests/support/tiffbuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

using B = TiffBuilder;

const QString kUndefined = QStringLiteral("未定義");

class ExifDataTest : public ::testing::Test
{
  protected:
    ExifData parse(const QByteArray &bytes)
    {
        ExifData exif;
        exif.SetExif(writeTestFile(m_folder, QStringLiteral("p.jpg"), bytes));
        return exif;
    }

    QTemporaryDir m_folder;
};

// A header with one value of every kind the parser keeps, SHORT values stored in the first
// two bytes of the value field.
TiffBuilder fullHeader(ByteOrder order)
{
    TiffBuilder b(order);
    b.ascii(B::Ifd0, ExifTag::ImageDescription, "          ")
        .ascii(B::Ifd0, ExifTag::Make, "NIKON ")
        .ascii(B::Ifd0, ExifTag::Model, "E5700")
        .ascii(B::Ifd0, ExifTag::Software, "E5700v1.1")
        .ascii(B::Ifd0, ExifTag::DateTime, "2003:07:01 00:00:00")
        .rational(B::ExifIfd, ExifTag::ExposureTime, 10, 600)
        .rational(B::ExifIfd, ExifTag::FNumber, 28, 10)
        .shortValue(B::ExifIfd, ExifTag::ExposureProgram, 3)
        .shortValue(B::ExifIfd, ExifTag::IsoSpeedRatings, 400)
        .undefined(B::ExifIfd, ExifTag::ExifVersion, "0220")
        .ascii(B::ExifIfd, ExifTag::DateTimeOriginal, "2003:07:15 18:42:05")
        .rational(B::ExifIfd, ExifTag::CompressedBitsPerPixel, 4, 1)
        .rational(B::ExifIfd, ExifTag::ShutterSpeedValue, 6906891, 1000000)
        .rational(B::ExifIfd, ExifTag::ExposureBiasValue, -2, 3)
        .rational(B::ExifIfd, ExifTag::MaxApertureValue, 3, 1)
        .rational(B::ExifIfd, ExifTag::SubjectDistance, 5, 1)
        .shortValue(B::ExifIfd, ExifTag::MeteringMode, 5)
        .shortValue(B::ExifIfd, ExifTag::Flash, 1)
        .rational(B::ExifIfd, ExifTag::FocalLength, 71, 10)
        .undefined(B::ExifIfd, ExifTag::UserComment, QByteArray("ASCII\0\0\0comment", 15))
        .shortValue(B::ExifIfd, ExifTag::PixelXDimension, 2560)
        .longValue(B::ExifIfd, ExifTag::PixelYDimension, 1920)
        .thumbnail(QByteArray("\xFF\xD8\xFF\xD9", 4));
    return b;
}

class ByteOrderTwinTest : public ExifDataTest, public ::testing::WithParamInterface<ByteOrder>
{
};

TEST_P(ByteOrderTwinTest, ReadsEveryKeptValue)
{
    const ExifData exif = parse(fullHeader(GetParam()).jpeg());
    ASSERT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.ExifError(), 0);
    EXPECT_EQ(exif.IIMM(), GetParam() == ByteOrder::BigEndian ? "MM" : "II");
    EXPECT_EQ(exif.VersionExif(), "2.2");
    EXPECT_EQ(exif.DateExif(), "2003/07/15 18:42:05");
    EXPECT_EQ(exif.SizeExifX(), 2560);
    EXPECT_EQ(exif.SizeExifY(), 1920);
    EXPECT_EQ(exif.FlashExif(), "ON ");
    EXPECT_EQ(exif.ShutterSpeed(), "1/120");
    EXPECT_EQ(exif.MakerExif(), "NIKON ");
    EXPECT_EQ(exif.ModelExif(), "E5700");
    EXPECT_EQ(exif.SoftwearExif(), "E5700v1.1");
    EXPECT_EQ(exif.PictureMode(), "FINE");
    EXPECT_DOUBLE_EQ(exif.Fnumber(), 2.8);
    EXPECT_EQ(exif.SokkouMode(), "分割測光");
    EXPECT_EQ(exif.RosyutsuProgram(), "露出優先");
    EXPECT_DOUBLE_EQ(exif.FocalLength(), 7.1);
    EXPECT_EQ(exif.ExpBiasVal(), " -0.7 ");
    EXPECT_TRUE(exif.HaveThumb());
    EXPECT_EQ(exif.ISOspeedRate(), 400);
    EXPECT_EQ(exif.GetExif(), m_folder.filePath("p.jpg"));
}

INSTANTIATE_TEST_SUITE_P(Exif, ByteOrderTwinTest,
                         ::testing::Values(ByteOrder::LittleEndian, ByteOrder::BigEndian),
                         [](const ::testing::TestParamInfo<ByteOrder> &info) {
                             return info.param == ByteOrder::BigEndian ? "MM" : "II";
                         });

TEST_F(ExifDataTest, LaterDateEntryWins)
{
    TiffBuilder both;
    both.ascii(B::Ifd0, ExifTag::DateTime, "2001:01:01 01:01:01")
        .ascii(B::ExifIfd, ExifTag::DateTimeOriginal, "2002:02:02 02:02:02")
        .ascii(B::ExifIfd, ExifTag::DateTimeDigitized, "2003:03:03 03:03:03");
    EXPECT_EQ(parse(both.jpeg()).DateExif(), "2003/03/03 03:03:03");

    TiffBuilder original;
    original.ascii(B::Ifd0, ExifTag::DateTime, "2001:01:01 01:01:01")
        .ascii(B::ExifIfd, ExifTag::DateTimeOriginal, "2002:02:02 02:02:02");
    EXPECT_EQ(parse(original.jpeg()).DateExif(), "2002/02/02 02:02:02");

    TiffBuilder ifd0Only;
    ifd0Only.ascii(B::Ifd0, ExifTag::DateTime, "2001:01:01 01:01:01");
    EXPECT_EQ(parse(ifd0Only.jpeg()).DateExif(), "2001/01/01 01:01:01");

    // IFD1 is read last and through IFD0's table.
    TiffBuilder ifd1;
    ifd1.ascii(B::ExifIfd, ExifTag::DateTimeDigitized, "2003:03:03 03:03:03")
        .ascii(B::Ifd1, ExifTag::DateTime, "2004:04:04 04:04:04")
        .ascii(B::Ifd1, ExifTag::Make, "IFD1 maker");
    const ExifData exif = parse(ifd1.jpeg());
    EXPECT_EQ(exif.DateExif(), "2004/04/04 04:04:04");
    EXPECT_EQ(exif.MakerExif(), "IFD1 maker");

    TiffBuilder none;
    none.ascii(B::Ifd0, ExifTag::Make, "X");
    EXPECT_EQ(parse(none.jpeg()).DateExif(), "    /  /     :  :  ");
}

TEST_F(ExifDataTest, LaterShutterEntryWins)
{
    TiffBuilder apexLast;
    apexLast.rational(B::ExifIfd, ExifTag::ExposureTime, 1, 60)
        .rational(B::ExifIfd, ExifTag::ShutterSpeedValue, 5, 1);
    EXPECT_EQ(parse(apexLast.jpeg()).ShutterSpeed(), "1/32");

    TiffBuilder timeLast;
    timeLast.rational(B::ExifIfd, ExifTag::ShutterSpeedValue, 5, 1)
        .rational(B::ExifIfd, ExifTag::ExposureTime, 1, 60);
    EXPECT_EQ(parse(timeLast.jpeg()).ShutterSpeed(), "1/60");

    TiffBuilder seconds;
    seconds.rational(B::ExifIfd, ExifTag::ExposureTime, 2, 1);
    EXPECT_EQ(parse(seconds.jpeg()).ShutterSpeed(), "2.0");
}

TEST_F(ExifDataTest, MissingDirectoriesLeaveValuesEmpty)
{
    TiffBuilder ifd0Only;
    ifd0Only.ascii(B::Ifd0, ExifTag::Make, "Canon");
    const ExifData exif = parse(ifd0Only.jpeg());
    EXPECT_TRUE(exif.IsExif());
    EXPECT_FALSE(exif.HaveThumb());
    EXPECT_EQ(exif.MakerExif(), "Canon");
    EXPECT_EQ(exif.VersionExif(), QString(QChar(0)));
    EXPECT_EQ(exif.FlashExif(), kUndefined);
    EXPECT_EQ(exif.ShutterSpeed(), kUndefined);
    EXPECT_EQ(exif.PictureMode(), kUndefined);
    EXPECT_EQ(exif.SokkouMode(), "不明");
    EXPECT_EQ(exif.RosyutsuProgram(), kUndefined);
    EXPECT_EQ(exif.ExpBiasVal(), kUndefined);
    EXPECT_EQ(exif.Fnumber(), 0.0);
    EXPECT_EQ(exif.FocalLength(), 0.0);
    EXPECT_EQ(exif.SizeExifX(), 0);
    EXPECT_EQ(exif.ISOspeedRate(), 0);

    TiffBuilder empty;
    const ExifData emptyExif = parse(empty.jpeg());
    EXPECT_TRUE(emptyExif.IsExif());
    EXPECT_EQ(emptyExif.MakerExif(), "");

    TiffBuilder ifd1Only;
    ifd1Only.shortValue(B::Ifd1, 0x0103, 6);
    EXPECT_TRUE(parse(ifd1Only.jpeg()).HaveThumb());
}

TEST_F(ExifDataTest, TextsKeepTheirBytes)
{
    // count - 1 bytes: a second NUL and trailing blanks stay part of the text.
    TiffBuilder padded;
    padded.ascii(B::Ifd0, ExifTag::Model, QByteArray("E950  \0", 7))
        .ascii(B::Ifd0, ExifTag::Make, "\xC4\xE9");
    const ExifData exif = parse(padded.jpeg());
    EXPECT_EQ(exif.ModelExif(), QString::fromLatin1("E950  \0", 7));
    EXPECT_EQ(exif.MakerExif(), QString(QChar(0xC4)) + QChar(0xE9));
}

TEST_F(ExifDataTest, ShortTextsAreReadInPlace)
{
    // "AB\0" fits the value field; the field is not an offset.
    TiffBuilder b;
    b.ascii(B::Ifd0, ExifTag::Make, "AB").ascii(B::Ifd0, ExifTag::Model, "XYZ");
    const ExifData exif = parse(b.jpeg());
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.MakerExif(), "AB");
    EXPECT_EQ(exif.ModelExif(), "XYZ");
}

TEST_F(ExifDataTest, TextOfCountZeroIsEmpty)
{
    TiffBuilder b;
    b.ascii(B::Ifd0, ExifTag::Model, "old")
        .field(B::Ifd0, ExifTag::Model, TiffType::Ascii, 0, 0xFFFFFF00)
        .field(B::ExifIfd, ExifTag::UserComment, TiffType::Undefined, 0, 0xFFFFFF00);
    const ExifData exif = parse(b.jpeg());
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.ModelExif(), "");
}

TEST_F(ExifDataTest, LongUndefinedValueOffsetFollowsByteOrder)
{
    // A big-endian UserComment of more than four bytes lies at a big-endian offset.
    TiffBuilder b(ByteOrder::BigEndian);
    b.undefined(B::ExifIfd, ExifTag::UserComment, QByteArray(40, 'c'))
        .undefined(B::ExifIfd, ExifTag::ExifVersion, "0210")
        .shortValue(B::ExifIfd, ExifTag::MeteringMode, 2);
    const ExifData exif = parse(b.jpeg());
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.VersionExif(), "2.1");
    EXPECT_EQ(exif.SokkouMode(), "中央重点");
}

TEST_F(ExifDataTest, SecondShortInTheFieldIsDropped)
{
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        TiffBuilder b(order);
        b.field(B::ExifIfd, ExifTag::PixelXDimension, TiffType::Short, 2,
                order == ByteOrder::BigEndian ? (640u << 16) | 480u : (480u << 16) | 640u);
        EXPECT_EQ(parse(b.jpeg()).SizeExifX(), 640);
    }
}

TEST_F(ExifDataTest, FailuresKeepEarlierValues)
{
    TiffBuilder b;
    b.ascii(B::Ifd0, ExifTag::Make, "Canon")
        .field(B::Ifd0, ExifTag::Model, TiffType::Ascii, 10, 5000)
        .ascii(B::Ifd0, ExifTag::Software, "later");
    const ExifData exif = parse(b.jpeg());
    EXPECT_FALSE(exif.IsExif());
    EXPECT_NE(exif.ExifError(), 0);
    EXPECT_FALSE(exif.HaveThumb());
    EXPECT_EQ(exif.MakerExif(), "Canon");
    EXPECT_EQ(exif.SoftwearExif(), "");
}

struct BadHeader {
    const char *name;
    TiffBuilder builder;
};

class BadHeaderTest : public ExifDataTest, public ::testing::WithParamInterface<BadHeader>
{
};

TEST_P(BadHeaderTest, FailsTheParse)
{
    const ExifData exif = parse(GetParam().builder.jpeg());
    EXPECT_FALSE(exif.IsExif());
    EXPECT_NE(exif.ExifError(), 0);
    EXPECT_FALSE(exif.HaveThumb());
}

INSTANTIATE_TEST_SUITE_P(
    Exif, BadHeaderTest,
    ::testing::Values(
        BadHeader{"MakePastEnd",
                  TiffBuilder().field(B::Ifd0, ExifTag::Make, TiffType::Ascii, 10, 100000)},
        BadHeader{"MakeCountHuge",
                  TiffBuilder().field(B::Ifd0, ExifTag::Make, TiffType::Ascii, 0xFFFFFFFF, 8)},
        BadHeader{"DateCountGigabytes",
                  TiffBuilder().field(B::Ifd0, ExifTag::DateTime, TiffType::Ascii, 3000000000u, 8)},
        BadHeader{"DescriptionPastEnd", TiffBuilder().field(B::Ifd0, ExifTag::ImageDescription,
                                                            TiffType::Ascii, 20, 0xFFFFFFF0)},
        BadHeader{"UserCommentPastEnd", TiffBuilder().field(B::ExifIfd, ExifTag::UserComment,
                                                            TiffType::Undefined, 0x7FFFFFFF, 8)},
        BadHeader{"OriginalDatePastEnd", TiffBuilder().field(B::ExifIfd, ExifTag::DateTimeOriginal,
                                                             TiffType::Ascii, 20, 0xFFFFFFFF)}),
    [](const ::testing::TestParamInfo<BadHeader> &info) { return std::string(info.param.name); });

QByteArray withCountAt(QByteArray jpeg, qsizetype fileOffset, quint16 count)
{
    jpeg[fileOffset] = static_cast<char>(count & 0xFF);
    jpeg[fileOffset + 1] = static_cast<char>(count >> 8);
    return jpeg;
}

TEST_F(ExifDataTest, DirectoryCounts)
{
    TiffBuilder b;
    b.ascii(B::Ifd0, ExifTag::Make, "Canon");
    // IFD0 starts at TIFF offset 8, file offset 20.
    const ExifData tooMany = parse(withCountAt(b.jpeg(), 20, 40000));
    EXPECT_FALSE(tooMany.IsExif());
    EXPECT_NE(tooMany.ExifError(), 0);

    const ExifData none = parse(withCountAt(b.jpeg(), 20, 0));
    EXPECT_TRUE(none.IsExif());
    EXPECT_EQ(none.MakerExif(), "");

    // 32767 entries run past the end of the file: they read as zeros, not as a failure.
    const ExifData most = parse(withCountAt(b.jpeg(), 20, 32767));
    EXPECT_TRUE(most.IsExif());

    // The same limit holds for the Exif IFD.
    TiffBuilder exifIfd;
    exifIfd.shortValue(B::ExifIfd, ExifTag::MeteringMode, 1);
    // IFD0 holds only the pointer: its directory ends at file offset 20 + 18.
    const ExifData badExifIfd = parse(withCountAt(exifIfd.jpeg(), 38, 40000));
    EXPECT_FALSE(badExifIfd.IsExif());
    EXPECT_NE(badExifIfd.ExifError(), 0);
}

TEST_F(ExifDataTest, DirectoriesPointingAtThemselvesEnd)
{
    TiffBuilder b;
    b.ascii(B::Ifd0, ExifTag::Make, "Loop")
        .longValue(B::Ifd0, ExifTag::ExifIfdPointer, 8)
        .ifd1Offset(8);
    const ExifData exif = parse(b.jpeg());
    EXPECT_TRUE(exif.IsExif());
    EXPECT_TRUE(exif.HaveThumb());
    EXPECT_EQ(exif.MakerExif(), "Loop");
}

TEST_F(ExifDataTest, FilesThatAreNotExif)
{
    const ExifData jfif = parse(QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00", 14) +
                                QByteArray(100, '\0'));
    EXPECT_FALSE(jfif.IsExif());
    EXPECT_EQ(jfif.ExifError(), 0);

    const ExifData lowerCase = parse(QByteArray("\xFF\xD8\xFF\xE1\x00\x10"
                                                "exif\0\0II*\0",
                                                16));
    EXPECT_FALSE(lowerCase.IsExif());
    EXPECT_EQ(lowerCase.ExifError(), 0);

    // Too short to hold the byte-order mark: a failed read.
    const ExifData threeBytes = parse(QByteArray("\xFF\xD8\xFF", 3));
    EXPECT_FALSE(threeBytes.IsExif());
    EXPECT_NE(threeBytes.ExifError(), 0);
    const ExifData thirteen = parse(QByteArray("\xFF\xD8\xFF\xE1\x00\x10"
                                               "Exif\0\0I",
                                               13));
    EXPECT_FALSE(thirteen.IsExif());
    EXPECT_NE(thirteen.ExifError(), 0);
}

TEST_F(ExifDataTest, NotExifKeepsTheEarlierErrorAndThumbFlag)
{
    ExifData exif;
    exif.SetExif(writeTestFile(m_folder, "short.jpg", "abc"));
    const qint16 error = exif.ExifError();
    ASSERT_NE(error, 0);
    exif.SetExif(writeTestFile(m_folder, "jfif.jpg", QByteArray(64, 'j')));
    EXPECT_FALSE(exif.IsExif());
    EXPECT_EQ(exif.ExifError(), error);
    EXPECT_EQ(exif.GetExif(), m_folder.filePath("jfif.jpg"));
}

TEST_F(ExifDataTest, ReusedObjectDoesNotFollowAnEarlierFilesExifIfd)
{
    TiffBuilder first;
    first.shortValue(B::ExifIfd, ExifTag::MeteringMode, 3).ascii(B::Ifd0, ExifTag::Make, "A");
    const QByteArray firstBytes = first.jpeg();
    // Where the first file's Exif IFD was, the second file has a count of 40000.
    const qsizetype exifIfdAt = 20 + 2 + 12 * 2 + 4;
    QByteArray second = TiffBuilder().ascii(B::Ifd0, ExifTag::Model, "B").jpeg();
    second.append(QByteArray(exifIfdAt + 2 - second.size(), '\0'));
    second = withCountAt(second, exifIfdAt, 40000);

    ExifData exif;
    exif.SetExif(writeTestFile(m_folder, "first.jpg", firstBytes));
    ASSERT_EQ(exif.SokkouMode(), "ｽﾎﾟｯﾄ");
    exif.SetExif(writeTestFile(m_folder, "second.jpg", second));
    EXPECT_TRUE(exif.IsExif());
    // Values the second file lacks stay from the first: callers use one object per file.
    EXPECT_EQ(exif.SokkouMode(), "ｽﾎﾟｯﾄ");
    EXPECT_EQ(exif.MakerExif(), "A");
    EXPECT_EQ(exif.ModelExif(), "B");
}

TEST_F(ExifDataTest, PathsThatAreNotRegularFiles)
{
    ExifData missing;
    missing.SetExif(m_folder.filePath("missing.jpg"));
    EXPECT_FALSE(missing.IsExif());
    EXPECT_NE(missing.ExifError(), 0);

    ExifData folder;
    folder.SetExif(m_folder.path());
    EXPECT_FALSE(folder.IsExif());
    EXPECT_NE(folder.ExifError(), 0);

    // Opening a FIFO for reading would wait for a writer.
    const QString fifo = m_folder.filePath("fifo.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ExifData pipe;
    pipe.SetExif(fifo);
    EXPECT_FALSE(pipe.IsExif());
    EXPECT_NE(pipe.ExifError(), 0);

    ExifData empty;
    empty.SetExif(QString());
    EXPECT_FALSE(empty.IsExif());
    EXPECT_NE(empty.ExifError(), 0);
}

TEST_F(ExifDataTest, ValuesBeyondTheFirst64KiB)
{
    // A text beyond the head of the file is still found; one longer than an APP1 segment can
    // hold fails the parse instead of being allocated.
    QByteArray file = TiffBuilder()
                          .field(B::Ifd0, ExifTag::Make, TiffType::Ascii, 6, 70000)
                          .field(B::Ifd0, ExifTag::Software, TiffType::Ascii, 66000, 8)
                          .jpeg();
    file.append(QByteArray(70000 + 12 - file.size(), 'x'));
    file.append(QByteArray("FAR  \0", 6));
    file.append(QByteArray(1000, 'y'));
    const ExifData exif = parse(file);
    EXPECT_EQ(exif.MakerExif(), "FAR  ");
    EXPECT_FALSE(exif.IsExif());
    EXPECT_NE(exif.ExifError(), 0);
}

} // namespace
