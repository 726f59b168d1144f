#include "exif/transplantfields.h"

#include <QtEndian>

#include "exif/exiftags.h"

namespace
{

constexpr qint64 kTiffBase = 12;
constexpr qint64 kEntrySize = 12;

// Reads directories inside the APP1 segment only: the transplant rewrites no
// byte outside it.
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
        const ValueField field{entry + 8, *m_reader.u16(entry + 2, m_order)};
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

QByteArray withoutLeadingJfif(const QByteArray &file)
{
    const ByteReader reader(file);
    if (reader.u16(2, ByteOrder::BigEndian) != 0xFFE0 ||
        reader.view(6, 5) != QByteArrayView("JFIF\0", 5))
        return file;
    const qint64 app1 = 4 + qint64(*reader.u16(4, ByteOrder::BigEndian));
    if (reader.u16(app1, ByteOrder::BigEndian) != 0xFFE1 ||
        reader.view(app1 + 4, 6) != QByteArrayView("Exif\0\0", 6))
        return file;
    return file.first(2) + file.sliced(app1);
}

std::optional<TransplantFields> findTransplantFields(QByteArrayView file)
{
    const ByteReader reader(file);
    if (reader.u16(0, ByteOrder::BigEndian) != 0xFFD8 ||
        reader.u16(2, ByteOrder::BigEndian) != 0xFFE1 ||
        reader.view(6, 6) != QByteArrayView("Exif\0\0", 6))
        return std::nullopt;
    const std::optional<QByteArrayView> mark = reader.view(kTiffBase, 2);
    if (mark != "II" && mark != "MM")
        return std::nullopt;
    TransplantFields fields;
    fields.order = mark == "MM" ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    fields.app1End = 4 + qint64(*reader.u16(4, ByteOrder::BigEndian));
    if (fields.app1End > file.size())
        return std::nullopt;

    DirectoryWalk walk(file.first(fields.app1End), fields.order, fields);
    const std::optional<quint32> ifd1 = walk.read(reader.u32(16, fields.order).value_or(0));
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
