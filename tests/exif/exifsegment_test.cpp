#include "exif/exifdata.h"
#include "exif/exiforientation.h"
#include "exif/exifsegment.h"
#include "exif/exiftags.h"
#include "exif/filebytereader.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/tiffbuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using B = TiffBuilder;

QByteArray exifFile()
{
    return TiffBuilder().ascii(B::Ifd0, ExifTag::Make, "Maker").jpeg();
}

// SOI, then `before`, then the rest of `jpeg` behind its SOI.
QByteArray withInFront(const QByteArray &before, const QByteArray &jpeg = exifFile())
{
    return jpegbytes::soi() + before + jpeg.mid(2);
}

QByteArray tinyComments(int count)
{
    QByteArray comments;
    for (int i = 0; i < count; ++i)
        comments += jpegbytes::segment(0xFE, {});
    return comments;
}

struct SegmentCase {
    const char *name;
    QByteArray file;
    std::optional<qint64> start; // where the Exif APP1 is found
};

std::vector<SegmentCase> segmentCases()
{
    const QByteArray jfif = jpegbytes::filler(0xE0, 14);
    const QByteArray frame = jpegbytes::frame(0xC0, 8, 8);
    QByteArray cutTiff = exifFile().left(14);
    return {
        {"first", exifFile(), 2},
        {"behind JFIF", withInFront(jfif), 20},
        {"behind fill bytes", withInFront(jfif + "\xFF\xFF"), 22},
        {"behind a restart marker", withInFront("\xFF\xD0"), 4},
        {"behind 100 comments", withInFront(tinyComments(100)), 402},
        {"TIFF header cut short", withInFront(jfif, cutTiff), 20},
        {"behind the frame", withInFront(frame), std::nullopt},
        {"behind a scan", withInFront(jpegbytes::scan()), std::nullopt},
        {"no SOI", exifFile().mid(2), std::nullopt},
        {"APP1 that is not Exif", withInFront({}, exifFile().replace(6, 4, "Exig")), std::nullopt},
        {"length past the end", jpegbytes::soi() + "\xFF\xE0\xFF\xF0JFIF", std::nullopt},
        {"length below two", withInFront("\xFF\xE0\x00\x01"), std::nullopt},
        {"garbage instead of a marker", withInFront("\x12\x34"), std::nullopt},
        {"endless comment chain", withInFront(tinyComments(kMaxWalkSteps)), std::nullopt},
        {"endless fill bytes", withInFront(QByteArray(kMaxWalkSteps, '\xFF')), std::nullopt},
        {"SOI alone", jpegbytes::soi(), std::nullopt},
    };
}

// Bytes in memory and a file give the same answer, and nothing hostile crashes or hangs.
TEST(ExifSegment, IsFoundAmongTheSegmentsInFrontOfTheFrame)
{
    QTemporaryDir folder;
    for (const SegmentCase &c : segmentCases()) {
        SCOPED_TRACE(c.name);
        const std::optional<ExifSegment> inMemory = findExifSegment(c.file);
        EXPECT_EQ(inMemory ? std::optional(inMemory->start) : std::nullopt, c.start);
        FileByteReader file;
        ASSERT_EQ(file.open(writeTestFile(folder, QStringLiteral("s.jpg"), c.file)), 0);
        const std::optional<ExifSegment> onDisk = file.exifSegment();
        EXPECT_EQ(onDisk ? std::optional(onDisk->start) : std::nullopt, c.start);
        if (inMemory) {
            EXPECT_EQ(inMemory->tiffBase(), *c.start + 10);
            EXPECT_EQ(onDisk->end, inMemory->end);
        }
    }
}

// Behind a large ICC profile the segment ends past what the head holds from the file's
// start: it is held on its own, and the values in it read without a read of their own.
TEST(ExifSegment, BehindALargeSegmentIsHeldWhole)
{
    QTemporaryDir folder;
    const QByteArray icc = jpegbytes::filler(0xE2, 65000);
    const QByteArray make(20000, 'm');
    const QByteArray file =
        withInFront(icc, TiffBuilder().ascii(B::Ifd0, ExifTag::Make, make).jpeg());
    const QString path = writeTestFile(folder, QStringLiteral("icc.jpg"), file);
    FileByteReader reader;
    ASSERT_EQ(reader.open(path), 0);
    ASSERT_TRUE(reader.exifSegment());
    const int opened = reader.readCalls();
    EXPECT_EQ(reader.bytes(reader.exifSegment()->end - 4, 4),
              file.mid(reader.exifSegment()->end - 4, 4));
    EXPECT_EQ(reader.readCalls(), opened);
    ExifData exif;
    exif.SetExif(path);
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.MakerExif().toLatin1(), make);
}

struct OrientationCase {
    const char *name;
    QByteArray file;
    int expected;
};

QByteArray withTag(ByteOrder order, quint16 type, quint16 value)
{
    TiffBuilder tiff(order);
    tiff.ascii(B::Ifd0, ExifTag::Make, "Maker");
    if (type == TiffType::Short)
        tiff.shortValue(B::Ifd0, ExifTag::Orientation, value);
    else
        tiff.longValue(B::Ifd0, ExifTag::Orientation, value);
    return tiff.jpeg();
}

std::vector<OrientationCase> orientationCases()
{
    std::vector<OrientationCase> cases;
    for (int value = 1; value <= 8; ++value)
        cases.push_back(
            {"each value", withTag(ByteOrder::LittleEndian, TiffType::Short, value), value});
    cases.push_back({"big-endian", withTag(ByteOrder::BigEndian, TiffType::Short, 6), 6});
    cases.push_back({"behind JFIF",
                     withInFront(jpegbytes::filler(0xE0, 14),
                                 withTag(ByteOrder::BigEndian, TiffType::Short, 8)),
                     8});
    cases.push_back({"zero", withTag(ByteOrder::LittleEndian, TiffType::Short, 0), 1});
    cases.push_back({"nine", withTag(ByteOrder::LittleEndian, TiffType::Short, 9), 1});
    cases.push_back({"not a SHORT", withTag(ByteOrder::LittleEndian, TiffType::Long, 6), 1});
    cases.push_back({"no tag", TiffBuilder().ascii(B::Ifd0, ExifTag::Make, "M").jpeg(), 1});
    cases.push_back({"no Exif", jpegbytes::soi() + jpegbytes::eoi(), 1});
    cases.push_back(
        {"cut short", withTag(ByteOrder::LittleEndian, TiffType::Short, 6).left(20), 1});
    return cases;
}

TEST(ExifOrientation, ReadsIfd0TagFromBytesAndFiles)
{
    QTemporaryDir folder;
    for (const OrientationCase &c : orientationCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exifOrientationInBytes(c.file), c.expected);
        EXPECT_EQ(exifOrientation(writeTestFile(folder, QStringLiteral("o.jpg"), c.file)),
                  c.expected);
    }
    EXPECT_EQ(exifOrientation(folder.filePath(QStringLiteral("missing.jpg"))), 1);
}

} // namespace
