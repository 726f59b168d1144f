#include "exif/exiforientation.h"

#include "exif/bytereader.h"
#include "exif/exifsegment.h"
#include "exif/exiftags.h"
#include "exif/filebytereader.h"

#include <QByteArray>

namespace
{

constexpr int kUpright = 1;
constexpr int kLastOrientation = 8;
constexpr qint64 kEntrySize = 12;

// The tag as IFD0 holds it, read inside the Exif segment only: a header that points outside
// its own segment has nothing to say about the picture.
int orientationInSegment(QByteArrayView segment)
{
    const ByteReader reader(segment);
    const qint64 base = ExifSegment::kTiffBaseInSegment;
    const auto mark = reader.view(base, 2);
    if (mark != "II" && mark != "MM")
        return kUpright;
    const ByteOrder order = mark == "MM" ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    const qint64 ifd0 = base + reader.u32(base + 4, order).value_or(0);
    const quint16 count = reader.u16(ifd0, order).value_or(0);
    int orientation = kUpright;
    const qint64 entriesEnd = qMin(ifd0 + 2 + count * kEntrySize, reader.size());
    for (qint64 entry = ifd0 + 2; entry < entriesEnd; entry += kEntrySize) {
        if (reader.u16(entry, order) == ExifTag::Orientation)
            orientation = reader.u16(entry + 2, order) == TiffType::Short
                              ? reader.u16(entry + 8, order).value_or(kUpright)
                              : kUpright;
    }
    return orientation >= kUpright && orientation <= kLastOrientation ? orientation : kUpright;
}

} // namespace

int exifOrientation(const QString &path)
{
    FileByteReader file;
    if (file.open(path) != 0 || !file.exifSegment())
        return kUpright;
    const ExifSegment segment = *file.exifSegment();
    const auto bytes = file.bytesUpTo(segment.start, segment.end - segment.start);
    return bytes ? orientationInSegment(*bytes) : kUpright;
}

int exifOrientationInBytes(QByteArrayView jpeg)
{
    const std::optional<ExifSegment> segment = findExifSegment(jpeg);
    if (!segment)
        return kUpright;
    return orientationInSegment(
        jpeg.sliced(segment->start, qMin(segment->end, jpeg.size()) - segment->start));
}
