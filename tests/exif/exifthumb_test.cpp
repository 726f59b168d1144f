#include "exif/exiftags.h"
#include "exif/exifthumb.h"
#include "tests/support/tiffbuilder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

using B = TiffBuilder;

QByteArray fakeJpeg(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    bytes[0] = '\xFF';
    bytes[1] = '\xD8';
    return bytes;
}

class ExifThumbTest : public ::testing::Test
{
  protected:
    QString source(const QByteArray &bytes)
    {
        return writeTestFile(m_folder, QStringLiteral("source.jpg"), bytes);
    }
    QString target() const { return m_folder.filePath(QStringLiteral("tmp.jpg")); }

    QTemporaryDir m_folder;
};

TEST_F(ExifThumbTest, ByteOrderTwinsGiveTheSameBytes)
{
    const QByteArray thumb = fakeJpeg(300);
    for (ByteOrder order : {ByteOrder::LittleEndian, ByteOrder::BigEndian}) {
        TiffBuilder b(order);
        b.ascii(B::Ifd0, ExifTag::Make, "Canon")
            .shortValue(B::ExifIfd, ExifTag::MeteringMode, 2)
            .thumbnail(thumb);
        ExifThumb reader;
        EXPECT_EQ(reader.GetThumb(source(b.jpeg()), target()), 300);
        EXPECT_EQ(readTestFile(target()), thumb);
        EXPECT_TRUE(reader.IsExif());
        EXPECT_TRUE(reader.HaveThumb());
        EXPECT_EQ(reader.ExifError(), 0);
        EXPECT_EQ(reader.IIMM(), order == ByteOrder::BigEndian ? "MM" : "II");
        EXPECT_EQ(reader.GetExif(), m_folder.filePath("source.jpg"));

        ExifThumb inMemory;
        QByteArray bytes;
        EXPECT_EQ(inMemory.GetThumb(source(b.jpeg()), bytes), 300);
        EXPECT_EQ(bytes, thumb);
        EXPECT_TRUE(inMemory.HaveThumb());
    }
}

TEST_F(ExifThumbTest, LengthIsReturnedAsSigned16Bits)
{
    const QByteArray thumb = fakeJpeg(40000);
    ExifThumb reader;
    EXPECT_EQ(reader.GetThumb(source(TiffBuilder().thumbnail(thumb).jpeg()), target()),
              static_cast<qint16>(40000 - 65536));
    EXPECT_EQ(readTestFile(target()), thumb);
    EXPECT_TRUE(reader.HaveThumb());
}

TEST_F(ExifThumbTest, LengthAboveAnApp1SegmentIsNoThumbnail)
{
    TiffBuilder b;
    b.field(B::Ifd1, ExifTag::JpegInterchangeFormat, TiffType::Long, 1, 8)
        .field(B::Ifd1, ExifTag::JpegInterchangeFormatLength, TiffType::Long, 1, 65536);
    ExifThumb reader;
    EXPECT_EQ(reader.GetThumb(source(b.jpeg() + QByteArray(70000, 'x')), target()), 0);
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_TRUE(reader.IsExif());
    EXPECT_FALSE(reader.HaveThumb());

    TiffBuilder huge;
    huge.field(B::Ifd1, ExifTag::JpegInterchangeFormat, TiffType::Long, 1, 8)
        .field(B::Ifd1, ExifTag::JpegInterchangeFormatLength, TiffType::Long, 1, 0xFFFFFFFF);
    QByteArray bytes;
    EXPECT_EQ(ExifThumb().GetThumb(source(huge.jpeg()), bytes), 0);
    EXPECT_TRUE(bytes.isEmpty());
}

TEST_F(ExifThumbTest, BytesPastTheEndReadAsZeros)
{
    const QByteArray thumb = fakeJpeg(100);
    QByteArray file = TiffBuilder().thumbnail(thumb).jpeg();
    file.chop(2 + 60); // EOI and the last 60 thumbnail bytes
    ExifThumb reader;
    EXPECT_EQ(reader.GetThumb(source(file), target()), 100);
    EXPECT_EQ(readTestFile(target()), thumb.left(40) + QByteArray(60, '\0'));

    TiffBuilder farAway;
    farAway.field(B::Ifd1, ExifTag::JpegInterchangeFormat, TiffType::Long, 1, 0xFFFFFFF0)
        .field(B::Ifd1, ExifTag::JpegInterchangeFormatLength, TiffType::Long, 1, 16);
    QByteArray bytes;
    EXPECT_EQ(ExifThumb().GetThumb(source(farAway.jpeg()), bytes), 16);
    EXPECT_EQ(bytes, QByteArray(16, '\0'));
}

TEST_F(ExifThumbTest, NoThumbnail)
{
    const QByteArray before("keep me");
    writeTestFile(m_folder, "tmp.jpg", before);

    ExifThumb plain;
    EXPECT_EQ(plain.GetThumb(
                  source(QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\0", 11) + QByteArray(50, '\0')),
                  target()),
              0);
    EXPECT_FALSE(plain.IsExif());
    EXPECT_EQ(plain.ExifError(), 0);

    ExifThumb noIfd1;
    EXPECT_EQ(
        noIfd1.GetThumb(source(TiffBuilder().ascii(B::Ifd0, ExifTag::Make, "A").jpeg()), target()),
        0);
    EXPECT_TRUE(noIfd1.IsExif());
    EXPECT_FALSE(noIfd1.HaveThumb());

    ExifThumb noLength;
    EXPECT_EQ(noLength.GetThumb(
                  source(TiffBuilder()
                             .field(B::Ifd1, ExifTag::JpegInterchangeFormat, TiffType::Long, 1, 8)
                             .jpeg()),
                  target()),
              0);
    EXPECT_TRUE(noLength.IsExif());

    ExifThumb badMark;
    EXPECT_EQ(
        badMark.GetThumb(source(TiffBuilder().byteOrderMark("XX").thumbnail(fakeJpeg(50)).jpeg()),
                         target()),
        0);
    EXPECT_TRUE(badMark.IsExif());
    EXPECT_FALSE(badMark.HaveThumb());
    EXPECT_EQ(badMark.IIMM(), "XX");

    EXPECT_EQ(readTestFile(target()), before);
}

TEST_F(ExifThumbTest, TagsCountInEveryDirectoryAndIfd1Wins)
{
    // The length is given in the Exif IFD, the offset in IFD0, and IFD1 overrides nothing.
    const QByteArray thumb = fakeJpeg(64);
    QByteArray file =
        TiffBuilder()
            .field(B::Ifd0, ExifTag::JpegInterchangeFormat, TiffType::Long, 1, 500)
            .field(B::ExifIfd, ExifTag::JpegInterchangeFormatLength, TiffType::Long, 1, 64)
            .shortValue(B::Ifd1, 0x0103, 6)
            .jpeg();
    file.append(QByteArray(500 + 12 - file.size(), '\0'));
    file.append(thumb);
    QByteArray bytes;
    EXPECT_EQ(ExifThumb().GetThumb(source(file), bytes), 64);
    EXPECT_EQ(bytes, thumb);

    // IFD1 is read last, so its length replaces the Exif IFD's.
    QByteArray later =
        TiffBuilder()
            .field(B::ExifIfd, ExifTag::JpegInterchangeFormatLength, TiffType::Long, 1, 64)
            .thumbnail(fakeJpeg(10))
            .jpeg();
    EXPECT_EQ(ExifThumb().GetThumb(source(later), bytes), 10);
}

// The work file is rewritten where it is, never replaced: a longer old file is cut to the new
// thumbnail, a shorter one grows, and nothing else appears in the folder.
TEST_F(ExifThumbTest, RewritesTheTargetInPlaceCutToLength)
{
    writeTestFile(m_folder, "tmp.jpg", QByteArray(5000, 'o'));
    struct stat before {
    };
    ASSERT_EQ(::stat(QFile::encodeName(target()).constData(), &before), 0);

    const QByteArray shortThumb = fakeJpeg(20);
    EXPECT_EQ(ExifThumb().GetThumb(source(TiffBuilder().thumbnail(shortThumb).jpeg()), target()),
              20);
    EXPECT_EQ(readTestFile(target()), shortThumb);

    const QByteArray longThumb = fakeJpeg(7000);
    EXPECT_EQ(ExifThumb().GetThumb(source(TiffBuilder().thumbnail(longThumb).jpeg()), target()),
              7000);
    EXPECT_EQ(readTestFile(target()), longThumb);

    struct stat after {
    };
    ASSERT_EQ(::stat(QFile::encodeName(target()).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(ExifThumbTest, CreatesAMissingTarget)
{
    const QByteArray thumb = fakeJpeg(300);
    ExifThumb reader;
    EXPECT_EQ(reader.GetThumb(source(TiffBuilder().thumbnail(thumb).jpeg()), target()), 300);
    EXPECT_TRUE(reader.HaveThumb());
    EXPECT_EQ(readTestFile(target()), thumb);
}

// A link planted at the work file's name is refused, and what it points at is left alone.
TEST_F(ExifThumbTest, NeverWritesThroughALinkOrIntoAFifo)
{
    const QString victim = writeTestFile(m_folder, "victim.jpg", "precious");
    ASSERT_EQ(
        ::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(target()).constData()),
        0);
    const QString good = source(TiffBuilder().thumbnail(fakeJpeg(20)).jpeg());
    ExifThumb throughLink;
    EXPECT_EQ(throughLink.GetThumb(good, target()), 0);
    EXPECT_FALSE(throughLink.IsExif());
    EXPECT_FALSE(throughLink.HaveThumb());
    EXPECT_NE(throughLink.ExifError(), 0);
    EXPECT_EQ(readTestFile(victim), "precious");

    const QString fifo = m_folder.filePath("fifo.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    ExifThumb intoFifo;
    EXPECT_EQ(intoFifo.GetThumb(good, fifo), 0);
    EXPECT_NE(intoFifo.ExifError(), 0);
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST_F(ExifThumbTest, Failures)
{
    const QString good = source(TiffBuilder().thumbnail(fakeJpeg(20)).jpeg());
    ExifThumb unwritable;
    EXPECT_EQ(unwritable.GetThumb(good, m_folder.filePath("missing/tmp.jpg")), 0);
    EXPECT_FALSE(unwritable.IsExif());
    EXPECT_FALSE(unwritable.HaveThumb());
    EXPECT_NE(unwritable.ExifError(), 0);

    ExifThumb missing;
    EXPECT_EQ(missing.GetThumb(m_folder.filePath("none.jpg"), target()), 0);
    EXPECT_FALSE(missing.IsExif());
    EXPECT_NE(missing.ExifError(), 0);

    ExifThumb folder;
    QByteArray bytes;
    EXPECT_EQ(folder.GetThumb(m_folder.path(), bytes), 0);
    EXPECT_NE(folder.ExifError(), 0);

    QByteArray tooMany = TiffBuilder().thumbnail(fakeJpeg(20)).jpeg();
    tooMany[20] = '\x40'; // IFD0 entry count 40000 (0x9C40)
    tooMany[21] = '\x9C';
    ExifThumb overflow;
    EXPECT_EQ(overflow.GetThumb(source(tooMany), bytes), 0);
    EXPECT_FALSE(overflow.IsExif());
    EXPECT_NE(overflow.ExifError(), 0);

    ExifThumb threeBytes;
    EXPECT_EQ(threeBytes.GetThumb(source("\xFF\xD8\xFF"), bytes), 0);
    EXPECT_FALSE(threeBytes.IsExif());
    EXPECT_NE(threeBytes.ExifError(), 0);
}

} // namespace
