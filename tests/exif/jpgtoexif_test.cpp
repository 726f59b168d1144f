#include <gtest/gtest.h>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include "exif/exifdata.h"
#include "exif/exifthumb.h"
#include "exif/jpgtoexif.h"
#include "tests/support/camerafixture.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

// Little-endian TIFF pieces as the header tables spell them.
QByteArray le16(quint16 v)
{
    const quint16 le = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&le), 2);
}
QByteArray le32(quint32 v)
{
    const quint32 le = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&le), 4);
}
QByteArray entry(quint16 tag, quint16 type, quint32 count, const QByteArray &value)
{
    return le16(tag) + le16(type) + le32(count) + value;
}

const QDateTime kModified(QDate(2021, 3, 4), QTime(5, 6, 7));

class ExifBuilder : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sources.isValid());
        ASSERT_TRUE(m_work.isValid());
        m_workFolder = m_work.path() + QLatin1Char('/');
    }

    QString source(const QByteArray &jpeg, const QString &name = QStringLiteral("IMG_0001.jpg"))
    {
        const QString path = m_sources.filePath(name);
        EXPECT_TRUE(writeFile(path, jpeg));
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(kModified, QFileDevice::FileModificationTime);
        return path;
    }

    ExifBuild build(const QString &path, quint8 quality = 90)
    {
        return MakeExifFile(path, quality, m_workFolder);
    }

    // Nothing but the result may stay behind in the work folder.
    QStringList workFiles() const { return QDir(m_work.path()).entryList(QDir::Files); }

    void expectRefused(const QByteArray &jpeg, const QStringList &labels)
    {
        const ExifBuild result = build(source(jpeg));
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.path.isEmpty());
        EXPECT_EQ(result.labels, labels);
        EXPECT_TRUE(result.error.failed);
        EXPECT_TRUE(workFiles().isEmpty()) << workFiles().join(u' ').toStdString();
    }

    QTemporaryDir m_sources;
    QTemporaryDir m_work;
    QString m_workFolder;
};

} // namespace

TEST_F(ExifBuilder, WritesTheHeaderLayoutAndCopiesThePictureData)
{
    const QByteArray jpeg = plainJpeg(QSize(1600, 1200));
    const ExifBuild result = build(source(jpeg));
    ASSERT_TRUE(result.ok()) << result.error.description.toStdString();
    EXPECT_EQ(result.path, m_workFolder + QStringLiteral("EXIFFILE.EXIF"));
    EXPECT_EQ(workFiles(), QStringList{QStringLiteral("EXIFFILE.EXIF")});
    const QByteArray built = readFile(result.path);
    ASSERT_GT(built.size(), 330);

    const quint32 thumbLength =
        qFromLittleEndian<quint32>(built.constData() + 12 + 224 + 2 + 5 * 12 + 8);
    const quint16 app1Length = qFromBigEndian<quint16>(built.constData() + 4);
    EXPECT_EQ(app1Length, 326 + thumbLength);

    QByteArray want("\xFF\xD8\xFF\xE1", 4);
    want += char(app1Length >> 8);
    want += char(app1Length & 0xFF);
    want += QByteArray("Exif\0\0II\x2A\0", 10) + le32(8);
    // IFD0 at TIFF offset 8
    want += le16(7);
    want += entry(0x010F, 2, 12, le32(98));
    want += entry(0x011A, 5, 1, le32(110));
    want += entry(0x011B, 5, 1, le32(118));
    want += entry(0x0128, 3, 1, le32(2));
    want += entry(0x0132, 2, 20, le32(126));
    want += entry(0x0213, 3, 1, le32(2));
    want += entry(0x8769, 4, 1, le32(146));
    want += le32(224);
    want += QByteArray("Brindleware\0", 12);
    want += le32(72) + le32(1) + le32(72) + le32(1);
    want += QByteArray("2021:03:04 05:06:07\0", 20);
    // Exif IFD at TIFF offset 146
    want += le16(6);
    want += entry(0x9000, 7, 4, "0210");
    want += entry(0x9101, 7, 4, QByteArray("\x01\x02\x03\x00", 4));
    want += entry(0xA000, 7, 4, "0100");
    want += entry(0xA001, 3, 1, le32(1));
    want += entry(0xA002, 4, 1, le32(1600));
    want += entry(0xA003, 4, 1, le32(1200));
    want += le32(0);
    // IFD1 at TIFF offset 224
    want += le16(6);
    want += entry(0x0103, 3, 1, le32(6));
    want += entry(0x011A, 5, 1, le32(302));
    want += entry(0x011B, 5, 1, le32(310));
    want += entry(0x0128, 3, 1, le32(2));
    want += entry(0x0201, 4, 1, le32(318));
    want += entry(0x0202, 4, 1, le32(thumbLength));
    want += le32(0);
    want += le32(72) + le32(1) + le32(72) + le32(1);
    ASSERT_EQ(want.size(), 330);
    EXPECT_EQ(built.left(330).toHex(' '), want.toHex(' '));

    const QByteArray thumb = built.mid(330, thumbLength);
    EXPECT_TRUE(thumb.startsWith("\xFF\xD8\xFF\xDB")); // SOI, then the encoder's first DQT
    EXPECT_TRUE(thumb.endsWith("\xFF\xD9"));
    EXPECT_EQ(QImage::fromData(thumb).size(), QSize(160, 120));

    const QList<Segment> segments = segmentsOf(jpeg);
    qint64 firstDqt = -1;
    for (const Segment &s : segments) {
        if (s.marker == 0xDB) {
            firstDqt = s.offset;
            break;
        }
    }
    ASSERT_GT(firstDqt, 0);
    ASSERT_EQ(segments.first().marker, 0xE0);
    // The source's JFIF segment stays, right behind the new header.
    EXPECT_TRUE(built.mid(330 + thumbLength) == segments.first().bytes + jpeg.mid(firstDqt))
        << "picture data differs";
}

TEST_F(ExifBuilder, ResultReadsBackThroughTheExifReaders)
{
    const ExifBuild result = build(source(plainJpeg(QSize(1600, 1200))));
    ASSERT_TRUE(result.ok());
    const QByteArray built = readFile(result.path);

    ExifData exif;
    exif.SetExif(result.path);
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(exif.MakerExif(), QStringLiteral("Brindleware"));
    EXPECT_EQ(exif.VersionExif(), QStringLiteral("2.1"));
    EXPECT_EQ(exif.DateExif(), QStringLiteral("2021/03/04 05:06:07"));
    EXPECT_EQ(exif.SizeExifX(), 1600);
    EXPECT_EQ(exif.SizeExifY(), 1200);
    EXPECT_TRUE(exif.HaveThumb());

    ExifThumb reader;
    QByteArray thumb;
    const qint16 length = reader.GetThumb(result.path, thumb);
    const quint32 stored =
        qFromLittleEndian<quint32>(built.constData() + 12 + 224 + 2 + 5 * 12 + 8);
    EXPECT_EQ(quint16(length), stored);
    EXPECT_TRUE(thumb == built.mid(330, stored));
}

TEST_F(ExifBuilder, ExiftoolFindsNoWarningOrError)
{
    const ExifBuild result = build(source(plainJpeg(QSize(1600, 1200))));
    ASSERT_TRUE(result.ok());
    // exiftool also checks the extension: give the file the name it will have.
    const QString picture = m_sources.filePath(QStringLiteral("built.jpg"));
    ASSERT_TRUE(QFile::copy(result.path, picture));
    QString error;
    const QByteArray report =
        runTool(QStringLiteral("exiftool"),
                {QStringLiteral("-validate"), QStringLiteral("-warning"), QStringLiteral("-error"),
                 QStringLiteral("-a"), QStringLiteral("-n"), QStringLiteral("-Make"),
                 QStringLiteral("-ExifImageWidth"), QStringLiteral("-ThumbnailLength"), picture},
                &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(report.contains("Validate                        : 0 0 0")) << report.constData();
    EXPECT_FALSE(report.contains("Warning")) << report.constData();
    EXPECT_FALSE(report.contains("Error")) << report.constData();
    EXPECT_TRUE(report.contains("Brindleware")) << report.constData();
    EXPECT_TRUE(report.contains("Exif Image Width                : 1600")) << report.constData();
}

TEST_F(ExifBuilder, AThreeToTwoPictureGetsBandsAboveAndBelow)
{
    QImage white(1500, 1000, QImage::Format_RGB32);
    white.fill(Qt::white);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        white.save(&buffer, "JPG", 95);
    }
    const ExifBuild result = build(source(jpeg), 90);
    ASSERT_TRUE(result.ok());
    ExifThumb reader;
    QByteArray thumbBytes;
    ASSERT_NE(reader.GetThumb(result.path, thumbBytes), 0);
    const QImage thumb = QImage::fromData(thumbBytes);
    ASSERT_EQ(thumb.size(), QSize(160, 120));
    // 1500 x 1000 scaled by 1/9.375 is 160 x 106.7, centred: about 6.7 rows of band each side.
    for (int y : {0, 4, 116, 119})
        EXPECT_LT(qGray(thumb.pixel(80, y)), 40) << "row " << y;
    for (int y : {9, 60, 110})
        EXPECT_GT(qGray(thumb.pixel(80, y)), 215) << "row " << y;
    EXPECT_GT(qGray(thumb.pixel(0, 60)), 215);
    EXPECT_GT(qGray(thumb.pixel(159, 60)), 215);
}

TEST_F(ExifBuilder, RefusesSourcesItCannotCarryUnchanged)
{
    const QStringList thumbStep{QStringLiteral("make thum")};
    QString error;
    const QByteArray progressive =
        jpegtranJpeg(QSize(320, 240), {QStringLiteral("-progressive")}, &error);
    ASSERT_FALSE(progressive.isEmpty()) << error.toStdString();
    expectRefused(progressive, thumbStep);

    const QByteArray arithmetic =
        jpegtranJpeg(QSize(320, 240), {QStringLiteral("-arithmetic")}, &error);
    ASSERT_FALSE(arithmetic.isEmpty()) << error.toStdString();
    expectRefused(arithmetic, thumbStep);

    QByteArray twelveBit = plainJpeg(QSize(320, 240));
    for (const Segment &s : segmentsOf(twelveBit)) {
        if (s.marker == 0xC0)
            twelveBit[s.offset + 4] = 12;
    }
    expectRefused(twelveBit, thumbStep);

    const QByteArray whole = plainJpeg(QSize(640, 480));
    expectRefused(whole.left(whole.size() * 6 / 10), thumbStep);
    expectRefused("not a picture at all", thumbStep);
}

TEST_F(ExifBuilder, AFrameHeaderBeforeTheFirstDqtFailsAtTheMerge)
{
    const QByteArray jpeg = plainJpeg(QSize(320, 240));
    QList<Segment> segments = segmentsOf(jpeg);
    QList<Segment> reordered;
    for (const Segment &s : segments) {
        if (s.marker == 0xC0)
            reordered.prepend(s);
    }
    for (const Segment &s : segments) {
        if (s.marker != 0xC0)
            reordered.append(s);
    }
    const QByteArray sofFirst = withSegments(jpeg, reordered);
    ASSERT_FALSE(QImage::fromData(sofFirst).isNull()); // still a valid picture
    expectRefused(sofFirst, {QStringLiteral("Merge All File"), QStringLiteral("marge error"),
                             QStringLiteral("make thum2")});
}

TEST_F(ExifBuilder, AnUnwritableWorkFolderFailsAtTheThumbnail)
{
    const QString path = source(plainJpeg(QSize(320, 240)));
    const ExifBuild result = MakeExifFile(path, 90, m_workFolder + QStringLiteral("gone/"));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.labels, QStringList{QStringLiteral("make thum")});
}

// Segments in front of the first DQT that the decoder needs stay, so the
// built file decodes to exactly the source's pixels.
class KeptSegments : public ExifBuilder
{
  protected:
    QByteArray convert(const QByteArray &jpeg)
    {
        const QString path = source(jpeg);
        const QByteArray before = readFile(path);
        const ExifBuild result = build(path);
        EXPECT_TRUE(result.ok()) << result.error.description.toStdString();
        EXPECT_EQ(readFile(path), before) << "the source was changed";
        return result.ok() ? readFile(result.path) : QByteArray();
    }

    static void expectSamePixels(const QByteArray &a, const QByteArray &b)
    {
        const QImage first = QImage::fromData(a), second = QImage::fromData(b);
        ASSERT_FALSE(first.isNull());
        ASSERT_FALSE(second.isNull());
        EXPECT_TRUE(first == second) << "the built file decodes differently";
    }

    static QList<Segment> without(const QList<Segment> &segments, int marker)
    {
        QList<Segment> result;
        for (const Segment &s : segments) {
            if (s.marker != marker)
                result.append(s);
        }
        return result;
    }
};

TEST_F(KeptSegments, HuffmanTablesBeforeTheFirstDqt)
{
    const QByteArray jpeg = plainJpeg(QSize(320, 240));
    const QList<Segment> segments = segmentsOf(jpeg);
    QList<Segment> reordered;
    for (const Segment &s : segments) {
        if (s.marker == 0xC4)
            reordered.append(s);
    }
    reordered += without(segments, 0xC4);
    const QByteArray dhtFirst = withSegments(jpeg, reordered);
    const QByteArray built = convert(dhtFirst);
    expectSamePixels(dhtFirst, built);
    ExifData exif;
    exif.SetExif(m_workFolder + QStringLiteral("EXIFFILE.EXIF"));
    EXPECT_TRUE(exif.IsExif());
}

TEST_F(KeptSegments, AdobeColourTransformAndIccProfile)
{
    const QByteArray jpeg = plainJpeg(QSize(320, 240));
    // Adobe APP14 with transform 0: the three components are RGB, not YCbCr.
    const Segment adobe = makeSegment(0xEE, QByteArray("Adobe\x00\x64\x00\x00\x00\x00\x00", 12));
    const Segment icc =
        makeSegment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + QByteArray(64, 'p'));
    const Segment comment = makeSegment(0xFE, "a comment");
    QList<Segment> segments{adobe, icc, comment};
    segments += without(segmentsOf(jpeg), 0xE0);
    const QByteArray source = withSegments(jpeg, segments);

    const QByteArray built = convert(source);
    expectSamePixels(source, built);
    EXPECT_TRUE(built.contains(adobe.bytes));
    EXPECT_TRUE(built.contains(icc.bytes));
    EXPECT_TRUE(built.contains(comment.bytes));
}

// JFIF gives the pixel density, and beside an Adobe marker it decides the colour space:
// dropping it would turn the picture's YCbCr into RGB.
TEST_F(KeptSegments, JfifStaysAloneAndBesideAnAdobeMarker)
{
    const QByteArray jpeg = plainJpeg(QSize(320, 240));
    const QList<Segment> original = segmentsOf(jpeg);
    ASSERT_EQ(original.first().marker, 0xE0);
    EXPECT_TRUE(convert(jpeg).contains(original.first().bytes));

    const Segment adobe = makeSegment(0xEE, QByteArray("Adobe\x00\x64\x00\x00\x00\x00\x00", 12));
    QList<Segment> segments{original.first(), adobe};
    segments += original.mid(1);
    const QByteArray source = withSegments(jpeg, segments);
    const QByteArray built = convert(source);
    expectSamePixels(source, built);
    EXPECT_TRUE(built.contains(original.first().bytes + adobe.bytes));
}

// Captions, keywords and ratings live in XMP, IPTC and comments in front of the first DQT; a
// conversion without backup must carry them, in their order, right behind the new header.
TEST_F(KeptSegments, UserDataFollowsTheNewHeader)
{
    const QByteArray jpeg = plainJpeg(QSize(320, 240));
    const Segment xmp = makeSegment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                                              "<x:xmpmeta>rating 5</x:xmpmeta>");
    // Photoshop resource 0x0404 holding one IPTC keyword, "cat".
    const QByteArray keyword("\x1C\x02\x19\x00\x03"
                             "cat",
                             8);
    const Segment iptc = makeSegment(0xED, QByteArray("Photoshop 3.0\0", 14) + "8BIM" +
                                               QByteArray("\x04\x04\0\0\0\0\0\x08", 8) + keyword);
    const Segment comment = makeSegment(0xFE, "a caption");
    const QList<Segment> original = segmentsOf(jpeg);
    QList<Segment> segments{original.first(), xmp, iptc, comment};
    segments += original.mid(1);
    const QByteArray source = withSegments(jpeg, segments);

    const QByteArray built = convert(source);
    expectSamePixels(source, built);
    const quint32 thumbLength =
        qFromLittleEndian<quint32>(built.constData() + 12 + 224 + 2 + 5 * 12 + 8);
    const qsizetype firstDqt = source.indexOf("\xFF\xDB");
    EXPECT_TRUE(built.mid(330 + thumbLength) == original.first().bytes + xmp.bytes + iptc.bytes +
                                                    comment.bytes + source.mid(firstDqt));
}

// An Exif segment would be thrown away by a new header, so the file is refused wherever the
// segment stands, also when its header cannot be read.
TEST_F(ExifBuilder, RefusesAFileHoldingExif)
{
    const QByteArray jpeg = plainJpeg(QSize(320, 240));
    const QList<Segment> original = segmentsOf(jpeg);
    ASSERT_EQ(original.first().marker, 0xE0);
    // IFD0 claims more entries than any reader takes.
    const Segment unreadable =
        makeSegment(0xE1, QByteArray("Exif\0\0II\x2A\0", 10) + le32(8) + le16(0xFFFF));
    const QByteArray behindJfif =
        withSegments(jpeg, QList<Segment>{original.first(), unreadable} + original.mid(1));
    const QString nikon = cameraFixture("nikon-e950.jpg"); // JFIF, then Exif
    const QByteArray sources[] = {withSegments(jpeg, QList<Segment>{unreadable} + original.mid(1)),
                                  behindJfif, nikon.isEmpty() ? behindJfif : readFile(nikon)};
    for (const QByteArray &bytes : sources) {
        const QString path = source(bytes);
        const ExifBuild result = build(path);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.labels, QStringList{QStringLiteral("make thum")});
        EXPECT_EQ(result.error.description,
                  path + QLatin1String(": the file already holds an Exif header"));
    }
}
