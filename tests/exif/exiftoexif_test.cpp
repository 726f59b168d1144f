#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "exif/exifdata.h"
#include "exif/exiftags.h"
#include "exif/exifthumb.h"
#include "exif/exiftoexif.h"
#include "exif/jpegdecode.h"
#include "exif/jpeglayout.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

const QSize kTurned(48, 64); // the turned picture; its header still says 64 x 48

// What the rotation engine hands over: the unturned picture's header with its
// old thumbnail (and `trailer` behind it inside the APP1), `between` segments,
// then the turned picture with a JFIF segment.
QByteArray turnedFile(const TiffBuilder &header, const QByteArray &trailer,
                      const QByteArray &between = {})
{
    QByteArray app1 = header.jpeg().chopped(2) + trailer;
    qToBigEndian(quint16(app1.size() - 4), app1.data() + 4);
    return app1 + between + plainJpeg(kTurned).mid(2);
}

TiffBuilder cameraHeader(ByteOrder order, quint16 pixelType)
{
    TiffBuilder header(order);
    header.ascii(TiffBuilder::Ifd0, ExifTag::Make, "Maker")
        .ascii(TiffBuilder::ExifIfd, ExifTag::DateTimeOriginal, "2004:05:06 07:08:09")
        .shortValue(TiffBuilder::Ifd1, 0x0103, 6)
        .thumbnail(plainJpeg(QSize(16, 12)));
    if (pixelType == TiffType::Short) {
        header.shortValue(TiffBuilder::ExifIfd, ExifTag::PixelXDimension, 64)
            .shortValue(TiffBuilder::ExifIfd, ExifTag::PixelYDimension, 48);
    } else {
        header.longValue(TiffBuilder::ExifIfd, ExifTag::PixelXDimension, 64)
            .longValue(TiffBuilder::ExifIfd, ExifTag::PixelYDimension, 48);
    }
    return header;
}

// Where the Exif APP1 ends, wherever it stands.
qint64 app1End(const QByteArray &jpeg)
{
    const qint64 start = readJpegLayout(jpeg).exifOffset;
    return start + 2 + qFromBigEndian<quint16>(jpeg.constData() + start + 2);
}

class Transplant : public ::testing::Test
{
  protected:
    qint32 transplant(const QByteArray &turned)
    {
        writeFile(m_folder.filePath(QStringLiteral("turned")), turned);
        int steps = 0;
        const qint32 result = TransplantExif(m_folder.filePath(QStringLiteral("turned")), output(),
                                             90, Qt::black, [&steps] { ++steps; });
        if (result == TransplantDone) {
            EXPECT_EQ(steps, 6);
        }
        return result;
    }
    QString output() const { return m_folder.filePath(QStringLiteral("output")); }

    // The output's header reads back with the turned sizes, its own byte order and a
    // thumbnail of the turned picture; its picture data is the turned file's.
    void expectTurnedHeader(const QByteArray &turned, const char *byteOrder)
    {
        const QByteArray result = readFile(output());
        ExifData exif;
        exif.SetExif(output());
        EXPECT_EQ(exif.IIMM(), byteOrder);
        EXPECT_EQ(exif.MakerExif(), "Maker");
        EXPECT_EQ(exif.DateExif(), "2004/05/06 07:08:09");
        EXPECT_EQ(QSize(exif.SizeExifX(), exif.SizeExifY()), kTurned);
        QByteArray thumb;
        ExifThumb reader;
        ASSERT_NE(reader.GetThumb(output(), thumb), 0);
        EXPECT_EQ(decodeJpeg(thumb).fullSize, QSize(160, 120));
        EXPECT_EQ(result.indexOf(thumb) + thumb.size(), app1End(result)) << "APP1 length";
        // Everything behind the APP1 is the turned file's.
        EXPECT_EQ(result.mid(app1End(result)), turned.mid(app1End(turned)));
    }

  private:
    QTemporaryDir m_folder;
};

TEST_F(Transplant, WritesTheTurnedSizesAndThumbnailInTheEntriesOwnTypeAndOrder)
{
    const struct {
        ByteOrder order;
        const char *mark;
        quint16 pixelType;
    } cases[] = {{ByteOrder::LittleEndian, "II", TiffType::Long},
                 {ByteOrder::BigEndian, "MM", TiffType::Long},
                 {ByteOrder::BigEndian, "MM", TiffType::Short},
                 {ByteOrder::LittleEndian, "II", TiffType::Short}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mark + std::to_string(c.pixelType));
        const TiffBuilder header = cameraHeader(c.order, c.pixelType);
        const QByteArray turned = turnedFile(header, {});
        ASSERT_EQ(transplant(turned), TransplantDone);
        expectTurnedHeader(turned, c.mark);
        const QByteArray result = readFile(output());
        // Nothing followed the old thumbnail: the new one starts where it started.
        const qsizetype oldThumb = turned.indexOf(plainJpeg(QSize(16, 12)));
        EXPECT_EQ(result.left(oldThumb).size(), oldThumb);
        EXPECT_EQ(result.mid(oldThumb, 2), "\xFF\xD8");
        if (c.pixelType == TiffType::Short) {
            const QByteArray width = header.u16(48) + QByteArray(2, '\0');
            EXPECT_NE(result.left(oldThumb).indexOf(header.u16(ExifTag::PixelXDimension) +
                                                    header.u16(TiffType::Short) + header.u32(1) +
                                                    width),
                      -1);
        }
    }
}

TEST_F(Transplant, KeepsEverythingBehindTheOldThumbnailAndBetweenTheSegments)
{
    const QByteArray trailer = "maker-note data an entry points to";
    const QByteArray between = makeSegment(0xE2, "ICC_PROFILE").bytes +
                               makeSegment(0xFE, "comment").bytes +
                               makeSegment(0xED, "Photoshop 3.0 captions").bytes;
    const QByteArray turned =
        turnedFile(cameraHeader(ByteOrder::LittleEndian, TiffType::Long), trailer, between);
    ASSERT_EQ(transplant(turned), TransplantDone);
    expectTurnedHeader(turned, "II");
    const QByteArray result = readFile(output());
    const qsizetype oldEnd = app1End(turned);
    EXPECT_EQ(result.mid(oldEnd - trailer.size(), trailer.size()), trailer);
    EXPECT_EQ(result.mid(oldEnd, 2), "\xFF\xD8") << "the new thumbnail follows the old APP1";
    EXPECT_NE(result.indexOf(between), -1);
}

// Editors and some cameras put a JFIF APP0 in front of the Exif APP1; it stays there.
TEST_F(Transplant, KeepsAJfifSegmentInFrontOfTheHeader)
{
    const QByteArray header = turnedFile(cameraHeader(ByteOrder::BigEndian, TiffType::Long), {});
    const QByteArray jfif = plainJpeg(kTurned).mid(2, 18);
    ASSERT_EQ(jfif.mid(4, 4), "JFIF");
    const QByteArray turned = header.left(2) + jfif + header.mid(2);
    ASSERT_EQ(transplant(turned), TransplantDone);
    expectTurnedHeader(turned, "MM");
    EXPECT_TRUE(readFile(output()).startsWith(turned.left(2) + jfif));
}

TEST_F(Transplant, RefusesWhatItCannotRepair)
{
    const QByteArray good = turnedFile(cameraHeader(ByteOrder::LittleEndian, TiffType::Long), {});
    QByteArray undecodable = good;
    undecodable.truncate(undecodable.lastIndexOf("\xFF\xDA"));
    const struct {
        const char *what;
        QByteArray turned;
        qint32 result;
    } cases[] = {
        {"no IFD1",
         TiffBuilder().ascii(TiffBuilder::Ifd0, ExifTag::Make, "Maker").jpeg().chopped(2) +
             plainJpeg(kTurned).mid(2),
         TransplantNotExif},
        {"no Exif", plainJpeg(kTurned), TransplantNotExif},
        {"picture cannot be decoded", undecodable, TransplantNoThumb},
        {"APP1 would pass 65,535 bytes",
         turnedFile(cameraHeader(ByteOrder::LittleEndian, TiffType::Long),
                    QByteArray(65000 - app1End(good), 'x')), // and a thumbnail of some KB
         TransplantNoWrite},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(transplant(c.turned), c.result) << c.what;
        EXPECT_FALSE(QFile::exists(output())) << c.what;
    }
}

} // namespace
