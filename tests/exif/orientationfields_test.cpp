#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "exif/exiforientation.h"
#include "exif/exiftags.h"
#include "exif/orientationfields.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

Segment xmpSegment(const QByteArray &packet)
{
    return makeSegment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

// Every Orientation the header holds is set to 1 in place, wherever the Exif segment stands,
// in either byte order, in IFD0, IFD1 and XMP (attribute or element); nothing else changes.
TEST(OrientationFields, SetsEveryOrientationToUpright)
{
    const struct {
        const char *what;
        ByteOrder order;
        QByteArray xmp;
        bool behindXmp;
        int patches;
    } cases[] = {
        {"little-endian, XMP attribute", ByteOrder::LittleEndian,
         "<rdf:Description tiff:Orientation=\"6\"/>", false, 3},
        {"big-endian, XMP element behind", ByteOrder::BigEndian,
         "<tiff:Orientation>8</tiff:Orientation>", true, 3},
        {"no XMP", ByteOrder::LittleEndian, "", false, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray exif = TiffBuilder(c.order)
                                    .shortValue(TiffBuilder::Ifd0, ExifTag::Orientation, 6)
                                    .shortValue(TiffBuilder::Ifd1, ExifTag::Orientation, 6)
                                    .thumbnail(plainJpeg(QSize(16, 12)))
                                    .jpeg();
        QList<Segment> segments = segmentsOf(exif.chopped(2) + plainJpeg(QSize(32, 16)).mid(2));
        if (!c.xmp.isEmpty())
            segments.insert(c.behindXmp ? 0 : 1, xmpSegment(c.xmp));
        const QByteArray file = withSegments(plainJpeg(QSize(32, 16)), segments);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("a.jpg"));
        writeFile(path, file);

        EXPECT_EQ(uprightPatches(readJpegHeader(path)).size(), c.patches);
        ASSERT_FALSE(setOrientationUpright(path).failed);
        const QByteArray patched = readFile(path);
        EXPECT_EQ(patched.size(), file.size());
        EXPECT_EQ(exifOrientation(path), 1);
        EXPECT_TRUE(uprightPatches(readJpegHeader(path)).isEmpty());
        int changed = 0;
        for (qsizetype i = 0; i < file.size(); ++i)
            changed += file[i] != patched[i];
        EXPECT_EQ(changed, c.patches) << "one byte per value";
    }
}

} // namespace
