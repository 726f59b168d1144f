#include "exif/exiftoexif.h"

#include <QImage>

#include "exif/jpegdecode.h"
#include "exif/jpegencoder.h"
#include "exif/jpgtoexif.h"
#include "exif/paintfit.h"
#include "exif/transplantfields.h"
#include "exif/workfile.h"

namespace
{

constexpr qint64 kLengthInSegment = 2;
constexpr qint64 kMaxSegmentLength = 0xFFFF;

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

// SOI, the segments in front of the APP1 as they were, and the new APP1
// segment; empty when it would pass the segment limit.
QByteArray newHeader(QByteArrayView file, const TransplantFields &fields, const QByteArray &thumb,
                     const QSize &pictureSize)
{
    QByteArray header;
    if (dataFollowsThumbnail(file, fields)) {
        header = file.first(fields.app1End).toByteArray();
        setField(header, fields.thumbOffset, quint32(fields.app1End - fields.tiffBase),
                 fields.order);
    } else {
        header = file.first(fields.thumbStart()).toByteArray();
    }
    header += thumb;
    const qint64 lengthField = fields.app1Start + kLengthInSegment;
    const qint64 length = header.size() - lengthField;
    if (length > kMaxSegmentLength)
        return {};
    header[lengthField] = char(length >> 8);
    header[lengthField + 1] = char(length & 0xFF);
    setField(header, fields.thumbLength, quint32(thumb.size()), fields.order);
    setField(header, fields.pixelX, quint32(pictureSize.width()), fields.order);
    setField(header, fields.pixelY, quint32(pictureSize.height()), fields.order);
    return header;
}

} // namespace

qint32 TransplantExif(const QString &turnedPath, const QString &outputPath, quint8 quality,
                      const QColor &background, const std::function<void()> &stepProgress)
{
    stepProgress();
    QByteArray file;
    if (readWholeFile(turnedPath, file).failed)
        return TransplantNotExif;

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
    // Everything behind the APP1 (other segments, the picture, what follows its end) is
    // kept byte for byte.
    if (writeNewFile(outputPath, {header, QByteArrayView(file).sliced(fields->app1End)},
                     FileSync::Yes)
            .failed)
        return TransplantNoWrite;

    stepProgress();
    return TransplantDone;
}
