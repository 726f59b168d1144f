#include "exif/bytereader.h"

bool ByteReader::contains(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
}

std::optional<quint8> ByteReader::u8(qint64 offset) const
{
    if (!contains(offset, 1))
        return std::nullopt;
    return static_cast<quint8>(m_data[offset]);
}

std::optional<quint16> ByteReader::u16(qint64 offset, ByteOrder order) const
{
    if (!contains(offset, 2))
        return std::nullopt;
    return decodeU16(m_data.data() + offset, order);
}

std::optional<quint32> ByteReader::u32(qint64 offset, ByteOrder order) const
{
    if (!contains(offset, 4))
        return std::nullopt;
    return decodeU32(m_data.data() + offset, order);
}

std::optional<QByteArrayView> ByteReader::view(qint64 offset, qint64 length) const
{
    if (!contains(offset, length))
        return std::nullopt;
    return m_data.sliced(offset, length);
}

std::optional<QByteArray> ByteReader::bytes(qint64 offset, qint64 length) const
{
    const auto part = view(offset, length);
    if (!part)
        return std::nullopt;
    return part->toByteArray();
}
