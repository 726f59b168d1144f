#include "exif/transplantfields.h"

#include <QtEndian>

#include "exif/exifsegment.h"
#include "exif/exiftags.h"

namespace
{

constexpr qint64 kTiffBase = ExifSegment::kTiffBaseInSegment;
constexpr qint64 kEntrySize = 12;

// Reads directories inside the APP1 segment only: the transplant rewrites no
// byte outside it. Offsets inside the walk count from the segment's marker.
class DirectoryWalk
{
  public:
    DirectoryWalk(QByteArrayView app1, ByteOrder order, TransplantFields &fields)
        : m_reader(app1), m_order(order), m_fields(fields)
    {
    }

    // Notes the fields of the directory at tiffOffset; no value when it does
    // not lie whole inside the segment, else its next-directory offset.
    std::optional<quint32> read(quint32 tiffOffset)
    {
        const qint64 start = kTiffBase + tiffOffset;
        const std::optional<quint16> count = m_reader.u16(start, m_order);
        if (!count || !m_reader.contains(start + 2, *count * kEntrySize + 4))
            return std::nullopt;
        for (qint64 i = 0; i < *count; ++i)
            note(start + 2 + i * kEntrySize);
        return m_reader.u32(start + 2 + *count * kEntrySize, m_order);
    }

    quint32 exifIfdOffset = 0;

  private:
    void note(qint64 entry)
    {
        const quint16 tag = *m_reader.u16(entry, m_order);
        const ValueField field{m_fields.app1Start + entry + 8, *m_reader.u16(entry + 2, m_order)};
        const quint32 value = *m_reader.u32(entry + 8, m_order);
        switch (tag) {
        case ExifTag::ExifIfdPointer:
            exifIfdOffset = value;
            break;
        case ExifTag::JpegInterchangeFormat:
            m_fields.thumbOffset = field;
            m_fields.thumbOffsetValue = value;
            break;
        case ExifTag::JpegInterchangeFormatLength:
            m_fields.thumbLength = field;
            m_fields.thumbLengthValue =
                field.type == TiffType::Short ? *m_reader.u16(entry + 8, m_order) : value;
            break;
        case ExifTag::PixelXDimension:
            m_fields.pixelX = field;
            break;
        case ExifTag::PixelYDimension:
            m_fields.pixelY = field;
            break;
        default:
            break;
        }
    }

    ByteReader m_reader;
    ByteOrder m_order;
    TransplantFields &m_fields;
};

} // namespace

std::optional<TransplantFields> findTransplantFields(QByteArrayView file)
{
    const std::optional<ExifSegment> segment = findExifSegment(file);
    if (!segment || segment->end > file.size())
        return std::nullopt;
    const QByteArrayView app1 = file.sliced(segment->start, segment->end - segment->start);
    const ByteReader reader(app1);
    const std::optional<QByteArrayView> mark = reader.view(kTiffBase, 2);
    if (mark != "II" && mark != "MM")
        return std::nullopt;
    TransplantFields fields;
    fields.order = mark == "MM" ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    fields.app1Start = segment->start;
    fields.app1End = segment->end;
    fields.tiffBase = segment->tiffBase();

    DirectoryWalk walk(app1, fields.order, fields);
    const std::optional<quint32> ifd1 =
        walk.read(reader.u32(kTiffBase + 4, fields.order).value_or(0));
    if (!ifd1 || *ifd1 == 0)
        return std::nullopt;
    if (walk.exifIfdOffset != 0 && !walk.read(walk.exifIfdOffset))
        return std::nullopt;
    if (!walk.read(*ifd1) || !fields.thumbOffset.found() || !fields.thumbLength.found())
        return std::nullopt;
    return fields;
}

QByteArray fieldBytes(quint16 type, quint32 value, ByteOrder order)
{
    QByteArray bytes(4, '\0');
    const bool big = order == ByteOrder::BigEndian;
    if (type == TiffType::Short) {
        const quint16 v = quint16(value);
        big ? qToBigEndian(v, bytes.data()) : qToLittleEndian(v, bytes.data());
    } else {
        big ? qToBigEndian(value, bytes.data()) : qToLittleEndian(value, bytes.data());
    }
    return bytes;
}
