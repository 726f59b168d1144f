#include "exif/tiffreader.h"

#include "exif/exiftags.h"
#include "exif/filebytereader.h"
#include "exif/readerror.h"

namespace
{

constexpr qint64 kIfd0PointerInTiff = 4;
constexpr qint64 kEntrySize = 12;
constexpr quint16 kMaxEntryCount = 32767;
// An APP1 segment holds at most 65,535 bytes, so no text in it can be longer.
constexpr qint64 kMaxTextLength = 65535;

} // namespace

std::optional<bool> TiffReader::readHeader()
{
    const std::optional<ExifSegment> segment = m_file.exifSegment();
    m_tiffBase = segment ? segment->tiffBase() : kFirstSegmentTiffBase;
    QByteArray orderStorage;
    const auto order = m_file.viewUpTo(m_tiffBase, 2, orderStorage);
    if (!order || order->size() != 2) {
        fail(m_file.readFailed() ? ReadError::PathFileAccess : ReadError::PastEndOfFile);
        return std::nullopt;
    }
    m_byteOrderMark = order->toByteArray();
    // Anything but "MM" reads as little-endian.
    m_order = m_byteOrderMark == "MM" ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    return segment.has_value();
}

quint32 TiffReader::ifd0Offset()
{
    return numberAt(m_tiffBase + kIfd0PointerInTiff);
}

std::optional<IfdDirectory> TiffReader::directory(quint32 tiffOffset)
{
    const qint64 start = m_tiffBase + tiffOffset;
    const quint16 count = static_cast<quint16>(m_file.u16(start, m_order).value_or(0));
    if (m_file.readFailed()) {
        fail(ReadError::PathFileAccess);
        return std::nullopt;
    }
    if (count > kMaxEntryCount) {
        fail(ReadError::Overflow);
        return std::nullopt;
    }
    // Entries and the next-IFD offset in one view; what lies past the end reads as zeros.
    const qint64 blockSize = count * kEntrySize + 4;
    QByteArray storage;
    QByteArrayView block =
        m_file.viewUpTo(start + 2, blockSize, storage).value_or(QByteArrayView());
    if (m_file.readFailed()) {
        fail(ReadError::PathFileAccess);
        return std::nullopt;
    }
    QByteArray padded;
    if (block.size() < blockSize) {
        padded = block.toByteArray();
        padded.append(QByteArray(blockSize - block.size(), '\0'));
        block = padded;
    }

    IfdDirectory directory;
    directory.entries.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        directory.entries.push_back(decodeEntry(block.data() + i * kEntrySize));
    directory.nextOffset = decodeU32(block.data() + count * kEntrySize, m_order);
    return directory;
}

IfdEntry TiffReader::decodeEntry(const char *p) const
{
    IfdEntry entry;
    entry.tag = decodeU16(p, m_order);
    entry.type = decodeU16(p + 2, m_order);
    entry.count = decodeU32(p + 4, m_order);
    std::copy(p + 8, p + 12, entry.field.begin());
    if (entry.type == TiffType::Short)
        entry.value = decodeU16(p + 8, m_order); // a second SHORT in the field is dropped
    else if (entry.type == TiffType::Undefined && entry.count <= 4)
        entry.value = decodeU32(p + 8, ByteOrder::LittleEndian); // bytes kept in file order
    else
        entry.value = decodeU32(p + 8, m_order);
    return entry;
}

std::optional<QByteArray> TiffReader::text(const IfdEntry &entry, TextForm form)
{
    if (entry.count == 0)
        return QByteArray();
    const qint64 length = form == TextForm::WithoutTerminator ? entry.count - 1LL : entry.count;
    // TIFF stores a value of four bytes or fewer inside the entry.
    if (entry.count <= 4)
        return QByteArray(entry.field.data(), length);
    if (length > kMaxTextLength) {
        fail(ReadError::ValueTooLong);
        return std::nullopt;
    }
    const auto bytes = m_file.bytes(m_tiffBase + entry.value, length);
    if (!bytes) {
        fail(m_file.readFailed() ? ReadError::PathFileAccess : ReadError::PastEndOfFile);
        return std::nullopt;
    }
    return bytes;
}

Rational TiffReader::rational(const IfdEntry &entry)
{
    const qint64 start = m_tiffBase + entry.value;
    return {static_cast<qint32>(numberAt(start)), static_cast<qint32>(numberAt(start + 4))};
}

quint32 TiffReader::numberAt(qint64 fileOffset)
{
    const auto number = m_file.u32(fileOffset, m_order);
    if (!number && m_file.readFailed())
        fail(ReadError::PathFileAccess);
    return number.value_or(0);
}

void TiffReader::fail(qint32 error)
{
    if (m_error == 0)
        m_error = error;
}
