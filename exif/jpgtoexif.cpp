#include "exif/jpgtoexif.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

#include "exif/jpegdecode.h"
#include "exif/jpegencoder.h"
#include "exif/jpeglayout.h"
#include "exif/paintfit.h"
#include "exif/workfile.h"

namespace
{

// TIFF tags and types of the header written here.
constexpr quint16 kTagMake = 0x010F;
constexpr quint16 kTagXResolution = 0x011A;
constexpr quint16 kTagYResolution = 0x011B;
constexpr quint16 kTagResolutionUnit = 0x0128;
constexpr quint16 kTagDateTime = 0x0132;
constexpr quint16 kTagYCbCrPositioning = 0x0213;
constexpr quint16 kTagExifIfd = 0x8769;
constexpr quint16 kTagExifVersion = 0x9000;
constexpr quint16 kTagComponentsConfiguration = 0x9101;
constexpr quint16 kTagFlashpixVersion = 0xA000;
constexpr quint16 kTagColorSpace = 0xA001;
constexpr quint16 kTagPixelXDimension = 0xA002;
constexpr quint16 kTagPixelYDimension = 0xA003;
constexpr quint16 kTagCompression = 0x0103;
constexpr quint16 kTagJpegOffset = 0x0201;
constexpr quint16 kTagJpegLength = 0x0202;

constexpr quint16 kTypeAscii = 2;
constexpr quint16 kTypeShort = 3;
constexpr quint16 kTypeLong = 4;
constexpr quint16 kTypeRational = 5;
constexpr quint16 kTypeUndefined = 7;

// TIFF offsets fixed by the layout (file offset = TIFF offset + 12).
constexpr quint32 kIfd0Offset = 8;
constexpr qint64 kIfd0NextFieldInPart = 2 + 7 * 12;
constexpr quint32 kIfd1EntriesAndValues = 94;
constexpr qint64 kApp1LengthField = 4;
constexpr qint64 kApp1LengthCovers = 4; // the SOI part's bytes before the length field
constexpr qint64 kMaxSegmentLength = 0xFFFF;

constexpr int kDateTextLength = 20;

class TiffWriter
{
  public:
    void u16(quint16 value) { append(qToLittleEndian(value)); }
    void u32(quint32 value) { append(qToLittleEndian(value)); }
    void bytes(QByteArrayView data) { m_data.append(data); }
    void entry(quint16 tag, quint16 type, quint32 count, quint32 value)
    {
        u16(tag);
        u16(type);
        u32(count);
        u32(value);
    }
    // A SHORT goes into the first two bytes of the 4-byte value field.
    void shortEntry(quint16 tag, quint16 value) { entry(tag, kTypeShort, 1, value); }
    void rational(quint32 numerator, quint32 denominator)
    {
        u32(numerator);
        u32(denominator);
    }
    const QByteArray &data() const { return m_data; }

  private:
    template <typename T> void append(T littleEndian)
    {
        m_data.append(reinterpret_cast<const char *>(&littleEndian), sizeof littleEndian);
    }
    QByteArray m_data;
};

quint32 undefinedValue(const char (&four)[5])
{
    return qFromLittleEndian<quint32>(four);
}

struct PartFiles {
    explicit PartFiles(const QString &base)
        : thumb1(base + QStringLiteral(".thumb1")), thumb2(base + QStringLiteral(".thumb2")),
          soi(base + QStringLiteral(".SOI")), ifd0(base + QStringLiteral(".0IFD")),
          exifIfd(base + QStringLiteral(".EIFD")), ifd1(base + QStringLiteral(".1IFD")),
          exif(base + QStringLiteral(".EXIF"))
    {
    }
    ~PartFiles()
    {
        for (const QString *part : {&thumb1, &thumb2, &soi, &ifd0, &exifIfd, &ifd1})
            removeFile(*part);
    }
    PartFiles(const PartFiles &) = delete;
    PartFiles &operator=(const PartFiles &) = delete;

    QString thumb1, thumb2, soi, ifd0, exifIfd, ifd1, exif;
};

struct Source {
    QByteArray bytes;
    JpegLayout layout;
    QByteArray dateText; // 19 characters and a zero byte
};

// The source file and what the header says about it; refuses what cannot be
// carried behind a new header without changing the picture.
StepError readSource(const QString &path, Source &source)
{
    if (StepError error = readWholeFile(path, source.bytes, kLargestPictureFile); error.failed)
        return error;
    source.layout = readJpegLayout(source.bytes);
    const JpegLayout &layout = source.layout;
    if (!layout.walked)
        return StepError::because(path + QStringLiteral(": not a readable JPEG file"));
    if (!layout.isEightBitSequentialHuffman())
        return StepError::because(
            path + QStringLiteral(": only baseline 8-bit JPEG pictures can be converted"));
    if (!layout.endsAfterScan)
        return StepError::because(path + QStringLiteral(": the picture data is cut short"));
    if (layout.exifOffset >= 0)
        return StepError::because(path + QStringLiteral(": the file already holds an Exif header"));
    const QDateTime modified = QFileInfo(path).lastModified();
    source.dateText = modified.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toLatin1();
    source.dateText.resize(kDateTextLength, '\0');
    return StepError::none();
}

StepError makeThumbnail(const Source &source, quint8 quality, const QString &thumbPath)
{
    const DecodedJpeg decoded = decodeJpegForBox(source.bytes, kExifThumbSize);
    if (decoded.isNull())
        return StepError::because(decoded.error);
    QImage thumb(kExifThumbSize, QImage::Format_RGB32);
    if (PaintFit(thumb, decoded.image, kExifThumbBackground, decoded.fullSize) != 0)
        return StepError::because(QStringLiteral("cannot draw the thumbnail"));
    if (DCSavetoJPEG(thumb, thumb.width(), thumb.height(), thumbPath, quality) != 0)
        return StepError::because(QStringLiteral("cannot write the thumbnail"));
    return StepError::none();
}

QByteArray soiPart()
{
    TiffWriter part;
    part.bytes(QByteArrayView("\xFF\xD8\xFF\xE1\xFF\xFF"
                              "Exif\0\0",
                              12));
    part.bytes("II");
    part.u16(42);
    part.u32(kIfd0Offset);
    return part.data();
}

QByteArray ifd0Part(const QByteArray &dateText)
{
    constexpr quint32 makeOffset = 98, xResOffset = 110, yResOffset = 118, dateOffset = 126;
    constexpr quint32 exifIfdOffset = 146;
    TiffWriter part;
    part.u16(7);
    part.entry(kTagMake, kTypeAscii, sizeof kExifBuilderMaker, makeOffset);
    part.entry(kTagXResolution, kTypeRational, 1, xResOffset);
    part.entry(kTagYResolution, kTypeRational, 1, yResOffset);
    part.shortEntry(kTagResolutionUnit, 2);
    part.entry(kTagDateTime, kTypeAscii, kDateTextLength, dateOffset);
    part.shortEntry(kTagYCbCrPositioning, 2);
    part.entry(kTagExifIfd, kTypeLong, 1, exifIfdOffset);
    part.u32(0xFFFFFFFF); // linked to IFD1 once its place is known
    part.bytes(QByteArrayView(kExifBuilderMaker, sizeof kExifBuilderMaker));
    part.rational(72, 1);
    part.rational(72, 1);
    part.bytes(dateText);
    return part.data();
}

QByteArray exifIfdPart(const JpegLayout &layout)
{
    TiffWriter part;
    part.u16(6);
    part.entry(kTagExifVersion, kTypeUndefined, 4, undefinedValue("0210"));
    part.entry(kTagComponentsConfiguration, kTypeUndefined, 4, undefinedValue("\x01\x02\x03\0"));
    part.entry(kTagFlashpixVersion, kTypeUndefined, 4, undefinedValue("0100"));
    part.shortEntry(kTagColorSpace, 1);
    part.entry(kTagPixelXDimension, kTypeLong, 1, quint32(layout.width));
    part.entry(kTagPixelYDimension, kTypeLong, 1, quint32(layout.height));
    part.u32(0);
    return part.data();
}

QByteArray ifd1Part(quint32 ifd1Offset, const QByteArray &thumb)
{
    const quint32 xResOffset = ifd1Offset + 78, yResOffset = ifd1Offset + 86;
    TiffWriter part;
    part.u16(6);
    part.shortEntry(kTagCompression, 6);
    part.entry(kTagXResolution, kTypeRational, 1, xResOffset);
    part.entry(kTagYResolution, kTypeRational, 1, yResOffset);
    part.shortEntry(kTagResolutionUnit, 2);
    part.entry(kTagJpegOffset, kTypeLong, 1, ifd1Offset + kIfd1EntriesAndValues);
    part.entry(kTagJpegLength, kTypeLong, 1, quint32(thumb.size()));
    part.u32(0);
    part.rational(72, 1);
    part.rational(72, 1);
    part.bytes(thumb);
    return part.data();
}

// SOI, then the encoder's output from its first DQT: the thumbnail as stored.
StepError storedThumbnail(const QString &thumb1, QByteArray &thumb)
{
    QByteArray encoded;
    if (StepError error = readWholeFile(thumb1, encoded); error.failed)
        return error;
    const JpegLayout layout = readJpegLayout(encoded);
    if (layout.firstDqt < 0)
        return StepError::because(QStringLiteral("the thumbnail has no DQT before its frame"));
    thumb = QByteArray("\xFF\xD8", 2) + encoded.sliced(layout.firstDqt);
    return StepError::none();
}

StepError writePart(const QString &path, const QByteArray &bytes)
{
    return writeNewFile(path, {QByteArrayView(bytes)}, FileSync::No);
}

StepError partSizes(const QList<const QString *> &parts, qint64 &total)
{
    total = 0;
    for (const QString *part : parts) {
        qint64 size = 0;
        if (StepError error = fileSize(*part, size); error.failed)
            return error;
        total += size;
    }
    return StepError::none();
}

// The built file: the header parts, the segments in front of the first DQT that
// must not be lost, then the source's bytes from its first DQT to its end.
StepError mergeParts(const PartFiles &parts, const Source &source)
{
    if (source.layout.firstDqt < 0)
        return StepError::because(QStringLiteral("no DQT before the frame header"));
    QList<QByteArray> header;
    for (const QString *part : {&parts.soi, &parts.ifd0, &parts.exifIfd, &parts.ifd1}) {
        header.append(QByteArray());
        if (StepError error = readWholeFile(*part, header.last()); error.failed)
            return error;
    }
    QList<QByteArrayView> pieces(header.cbegin(), header.cend());
    pieces.append(source.layout.keptSegments);
    pieces.append(QByteArrayView(source.bytes).sliced(source.layout.firstDqt));
    return writeNewFile(parts.exif, pieces, FileSync::No);
}

ExifBuild failed(const QStringList &labels, const StepError &error)
{
    return ExifBuild{QString(), labels, error};
}

const QString kThumbLabel = QStringLiteral("make thum2");

} // namespace

ExifBuild MakeExifFile(const QString &sourcePath, quint8 quality, const QString &workFolder,
                       const QString &workName)
{
    if (workFolder.isEmpty())
        return failed({QStringLiteral("make thum")},
                      StepError::because(QStringLiteral("no private work folder")));
    PartFiles parts(workFolder + workName);
    removeFile(parts.exif);

    Source source;
    StepError error = readSource(sourcePath, source);
    if (!error.failed)
        error = makeThumbnail(source, quality, parts.thumb1);
    if (error.failed)
        return failed({QStringLiteral("make thum")}, error);

    if (error = writePart(parts.soi, soiPart()); error.failed)
        return failed({QStringLiteral("func SOI"), QStringLiteral("SOI error"), kThumbLabel},
                      error);
    if (error = writePart(parts.ifd0, ifd0Part(source.dateText)); error.failed)
        return failed({kThumbLabel}, error);
    if (error = writePart(parts.exifIfd, exifIfdPart(source.layout)); error.failed)
        return failed({QStringLiteral("EIFD error"), kThumbLabel}, error);

    // Offsets follow from the parts as written.
    qint64 headerSize = 0;
    if (error = partSizes({&parts.ifd0, &parts.exifIfd}, headerSize); error.failed)
        return failed({kThumbLabel}, error);
    const quint32 ifd1Offset = quint32(kIfd0Offset + headerSize);
    QByteArray thumb;
    if (error = storedThumbnail(parts.thumb1, thumb); !error.failed)
        error = writePart(parts.thumb2, thumb);
    if (!error.failed)
        error = writePart(parts.ifd1, ifd1Part(ifd1Offset, thumb));
    if (error.failed)
        return failed({kThumbLabel}, error);

    qint64 app1Length = 0;
    if (error = partSizes({&parts.soi, &parts.ifd0, &parts.exifIfd, &parts.ifd1}, app1Length);
        !error.failed) {
        app1Length -= kApp1LengthCovers;
        if (app1Length > kMaxSegmentLength)
            error = StepError::because(QStringLiteral("the thumbnail is too large for APP1"));
        else
            error = patchFile(parts.soi, kApp1LengthField,
                              QByteArray(1, char(app1Length >> 8)) + char(app1Length & 0xFF));
    }
    if (error.failed)
        return failed({QStringLiteral("1IFD error"), kThumbLabel}, error);

    const quint32 ifd1Link = qToLittleEndian(ifd1Offset);
    if (error = patchFile(parts.ifd0, kIfd0NextFieldInPart,
                          QByteArrayView(reinterpret_cast<const char *>(&ifd1Link), 4));
        error.failed)
        return failed({QStringLiteral("WRITE error"), kThumbLabel}, error);

    if (error = mergeParts(parts, source); error.failed) {
        removeFile(parts.exif);
        return failed(
            {QStringLiteral("Merge All File"), QStringLiteral("marge error"), kThumbLabel}, error);
    }
    return ExifBuild{parts.exif, {}, {}};
}
