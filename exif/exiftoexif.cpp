#include "exif/exiftoexif.h"

#include <QImage>

#include "exif/jpegdecode.h"
#include "exif/jpegencoder.h"
#include "exif/jpeglayout.h"
#include "exif/jpgtoexif.h"
#include "exif/paintfit.h"
#include "exif/transplantfields.h"
#include "exif/workfile.h"

namespace
{

constexpr qint64 kApp1LengthField = 4;
constexpr qint64 kMaxSegmentLength = 0xFFFF;
constexpr int kMarkerApp0 = 0xE0;
constexpr int kMarkerDqt = 0xDB;
constexpr int kMarkerSos = 0xDA;

// The new thumbnail as stored in the header: SOI, then the encoder's output
// from its first DQT on.
QByteArray drawThumbnail(const QByteArray &turned, quint8 quality, const QColor &background,
                         QSize &pictureSize)
{
    const DecodedJpeg decoded = decodeJpegForBox(turned, kExifThumbSize);
    if (decoded.isNull())
        return {};
    pictureSize = decoded.fullSize;
    QImage thumb(kExifThumbSize, QImage::Format_RGB32);
    if (PaintFit(thumb, decoded.image, background, decoded.fullSize) != 0)
        return {};
    const QByteArray encoded = encodeJpeg(thumb, thumb.width(), thumb.height(), quality);
    const qsizetype dqt = encoded.indexOf(QByteArrayView("\xFF\xDB", 2));
    if (dqt < 0)
        return {};
    return QByteArray("\xFF\xD8", 2) + encoded.sliced(dqt);
}

// Whether anything but padding follows the old thumbnail inside the APP1, or
// a field to be rewritten lies behind it.
bool dataFollowsThumbnail(QByteArrayView file, const TransplantFields &fields)
{
    for (const ValueField *field :
         {&fields.thumbOffset, &fields.thumbLength, &fields.pixelX, &fields.pixelY}) {
        if (field->position >= fields.thumbStart())
            return true;
    }
    for (qint64 i = fields.thumbEnd(); i < fields.app1End; ++i) {
        if (file[i] != '\0' && file[i] != '\xFF')
            return true;
    }
    return false;
}

void setField(QByteArray &header, const ValueField &field, quint32 value, ByteOrder order)
{
    if (field.found())
        header.replace(field.position, 4, fieldBytes(field.type, value, order));
}

// SOI and the new APP1 segment; empty when it would pass the segment limit.
QByteArray newHeader(QByteArrayView file, const TransplantFields &fields, const QByteArray &thumb,
                     const QSize &pictureSize)
{
    QByteArray header;
    if (dataFollowsThumbnail(file, fields)) {
        header = file.first(fields.app1End).toByteArray();
        setField(header, fields.thumbOffset, quint32(fields.app1End - 12), fields.order);
    } else {
        header = file.first(fields.thumbStart()).toByteArray();
    }
    header += thumb;
    const qint64 length = header.size() - kApp1LengthField;
    if (length > kMaxSegmentLength)
        return {};
    header[kApp1LengthField] = char(length >> 8);
    header[kApp1LengthField + 1] = char(length & 0xFF);
    setField(header, fields.thumbLength, quint32(thumb.size()), fields.order);
    setField(header, fields.pixelX, quint32(pictureSize.width()), fields.order);
    setField(header, fields.pixelY, quint32(pictureSize.height()), fields.order);
    return header;
}

bool isJfif(QByteArrayView segment)
{
    return uchar(segment[1]) == kMarkerApp0 && segment.size() >= 9 &&
           segment.sliced(4, 5) == QByteArrayView("JFIF\0", 5);
}

// The segments between the APP1 and the picture data, without a JFIF APP0,
// then everything from the first DQT (or frame header, or scan) to the end.
QList<QByteArrayView> pictureAfterHeader(QByteArrayView file, qint64 app1End)
{
    QList<QByteArrayView> pieces;
    qint64 pos = app1End;
    while (pos + 4 <= file.size() && uchar(file[pos]) == 0xFF) {
        const int marker = uchar(file[pos + 1]);
        if (marker == kMarkerDqt || marker == kMarkerSos || isFrameMarker(marker))
            break;
        const qint64 length = qint64(uchar(file[pos + 2])) << 8 | uchar(file[pos + 3]);
        if (length < 2 || pos + 2 + length > file.size())
            break;
        const QByteArrayView segment = file.sliced(pos, 2 + length);
        if (!isJfif(segment))
            pieces.append(segment);
        pos += 2 + length;
    }
    pieces.append(file.sliced(pos));
    return pieces;
}

} // namespace

qint32 TransplantExif(const QString &turnedPath, const QString &outputPath, quint8 quality,
                      const QColor &background, const std::function<void()> &stepProgress)
{
    stepProgress();
    QByteArray read;
    if (readWholeFile(turnedPath, read).failed)
        return TransplantNotExif;
    const QByteArray file = withoutLeadingJfif(read);

    stepProgress();
    const std::optional<TransplantFields> fields = findTransplantFields(file);
    if (!fields)
        return TransplantNotExif;

    stepProgress();
    if (fields->thumbStart() > fields->app1End)
        return TransplantNoHeader;

    stepProgress();
    QSize pictureSize;
    const QByteArray thumb = drawThumbnail(file, quality, background, pictureSize);
    if (thumb.isEmpty())
        return TransplantNoThumb;

    stepProgress();
    const QByteArray header = newHeader(file, *fields, thumb, pictureSize);
    if (header.isEmpty())
        return TransplantNoWrite;
    QList<QByteArrayView> pieces{header};
    pieces.append(pictureAfterHeader(file, fields->app1End));
    if (writeNewFile(outputPath, pieces, FileSync::Yes).failed)
        return TransplantNoWrite;

    stepProgress();
    return TransplantDone;
}
