#include <gtest/gtest.h>

#include "core/panellines.h"
#include "core/scan/thumbnailproducer.h"
#include "exif/exifdata.h"
#include "exif/exifthumb.h"
#include "tests/support/scanfolder.h"

namespace
{

struct LeadingCase {
    const char *name;
    QByteArray beforeExif;
    ByteOrder order;
};

const LeadingCase kLeadingCases[] = {
    {"JFIF", leadingsegment::jfif(), ByteOrder::LittleEndian},
    {"ICC profile", leadingsegment::iccProfile(), ByteOrder::LittleEndian},
    {"XMP", leadingsegment::xmp(), ByteOrder::LittleEndian},
    {"comment", leadingsegment::comment(), ByteOrder::LittleEndian},
    {"big-endian", {}, ByteOrder::BigEndian},
    {"all four, big-endian",
     leadingsegment::jfif() + leadingsegment::iccProfile() + leadingsegment::xmp() +
         leadingsegment::comment(),
     ByteOrder::BigEndian},
};

QStringList shootingData(const QString &path)
{
    ExifData exif;
    exif.SetExif(path);
    return {QString::number(exif.IsExif()),
            QString::number(exif.ExifError()),
            exif.IIMM(),
            exif.DateExif(),
            exif.MakerExif(),
            exif.ModelExif(),
            exif.ShutterSpeed(),
            QString::number(exif.Fnumber()),
            exif.VersionExif(),
            QString::number(exif.SizeExifX()),
            QString::number(exif.SizeExifY())};
}

// The panel without its file-size line, which differs by the leading segments' bytes.
QStringList panelLines(const QString &path)
{
    QStringList lines = panelContentForFile(path, QString(), CameraTable())->lines;
    lines.removeAt(14);
    return lines;
}

// A file whose Exif segment stands behind other segments is an Exif file everywhere: the
// same shooting data, thumbnail, list picture and panel as the same shot with Exif first.
TEST(ExifAnywhere, ReadsLikeTheSameShotWithExifFirst)
{
    ScanFolder folder;
    const ThumbnailProducer produce(QSize(160, 120), Qt::white);
    for (const LeadingCase &c : kLeadingCases) {
        SCOPED_TRACE(c.name);
        CameraShot shot;
        shot.byteOrder = c.order;
        folder.addCamera(QStringLiteral("first.jpg"), shot);
        shot.beforeExif = c.beforeExif;
        folder.addCamera(QStringLiteral("behind.jpg"), shot);
        const QString path = folder.file(QStringLiteral("behind.jpg"));

        const QStringList data = shootingData(path);
        EXPECT_EQ(data.first(), QStringLiteral("1"));
        EXPECT_EQ(data, shootingData(folder.file(QStringLiteral("first.jpg"))));

        ExifThumb reader;
        QByteArray thumb;
        EXPECT_NE(reader.GetThumb(path, thumb), 0);
        EXPECT_EQ(thumb, cameraThumbnail(shot));

        const ProducedThumbnail produced = produce(path);
        EXPECT_TRUE(produced.fromExif) << "listed in the Exif colour, without a conversion offer";
        EXPECT_EQ(produced.jpeg, cameraThumbnail(shot));

        EXPECT_EQ(panelLines(path), panelLines(folder.file(QStringLiteral("first.jpg"))));
    }
}

} // namespace
