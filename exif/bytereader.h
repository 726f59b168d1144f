#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>
#include <QtGlobal>

#include <optional>

enum class ByteOrder { LittleEndian, BigEndian };

// Bounds-checked reads over a block of bytes that the reader does not own. Every read names
// its offset and length; one that does not lie wholly inside the block gives no value
// instead of touching memory outside it. Offsets and lengths are 64-bit, so an offset read
// from a file plus a base can never wrap.
class ByteReader
{
  public:
    ByteReader() = default;
    explicit ByteReader(QByteArrayView data) : m_data(data) {}

    qint64 size() const { return m_data.size(); }
    // True when [offset, offset + length) lies inside the block.
    bool contains(qint64 offset, qint64 length) const;

    std::optional<quint8> u8(qint64 offset) const;
    std::optional<quint16> u16(qint64 offset, ByteOrder order) const;
    std::optional<quint32> u32(qint64 offset, ByteOrder order) const;
    // A view into the block; valid as long as the block is.
    std::optional<QByteArrayView> view(qint64 offset, qint64 length) const;
    std::optional<QByteArray> bytes(qint64 offset, qint64 length) const;

  private:
    QByteArrayView m_data;
};

// Decoders for bytes already known to be there (p must point at 2 or 4 readable bytes).
// Inline: a directory walk decodes every entry's fields.
inline quint16 decodeU16(const char *p, ByteOrder order)
{
    return order == ByteOrder::BigEndian ? qFromBigEndian<quint16>(p)
                                         : qFromLittleEndian<quint16>(p);
}

inline quint32 decodeU32(const char *p, ByteOrder order)
{
    return order == ByteOrder::BigEndian ? qFromBigEndian<quint32>(p)
                                         : qFromLittleEndian<quint32>(p);
}
