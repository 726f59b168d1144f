#include "exif/exiforientation.h"
#include "exif/exiftags.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/tiffbuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using B = TiffBuilder;

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

QByteArray behindJfif(const QByteArray &jpeg)
{
    return jpegbytes::soi() +
           jpegbytes::segment(0xE0, QByteArray("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14)) +
           jpeg.mid(2);
}

std::vector<OrientationCase> orientationCases()
{
    std::vector<OrientationCase> cases;
    for (int value = 1; value <= 8; ++value)
        cases.push_back(
            {"each value", withTag(ByteOrder::LittleEndian, TiffType::Short, value), value});
    cases.push_back({"big-endian", withTag(ByteOrder::BigEndian, TiffType::Short, 6), 6});
    cases.push_back(
        {"behind JFIF", behindJfif(withTag(ByteOrder::BigEndian, TiffType::Short, 8)), 8});
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
