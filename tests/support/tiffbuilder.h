#pragma once

#include "exif/bytereader.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

class QTemporaryDir;

// Builds the bytes of an Exif header by hand, in either byte order, so that tests control
// every count, offset and entry order. Layout: TIFF header, IFD0, Exif IFD, IFD1, the values
// longer than four bytes, then the thumbnail. The Exif IFD pointer is appended to IFD0 when
// the Exif IFD has entries; IFD0 links IFD1 when IFD1 has entries or a thumbnail.
class TiffBuilder
{
  public:
    enum Ifd { Ifd0, ExifIfd, Ifd1 };

    explicit TiffBuilder(ByteOrder order = ByteOrder::LittleEndian) : m_order(order) {}

    // An ASCII entry whose count includes one terminating NUL.
    TiffBuilder &ascii(Ifd ifd, quint16 tag, const QByteArray &text);
    TiffBuilder &shortValue(Ifd ifd, quint16 tag, quint16 value);
    TiffBuilder &longValue(Ifd ifd, quint16 tag, quint32 value);
    TiffBuilder &rational(Ifd ifd, quint16 tag, qint32 numerator, qint32 denominator);
    TiffBuilder &undefined(Ifd ifd, quint16 tag, const QByteArray &data);
    // An entry whose value field is given as a number (an offset, say), written in the
    // builder's byte order; nothing is stored elsewhere.
    TiffBuilder &field(Ifd ifd, quint16 tag, quint16 type, quint32 count, quint32 value);
    // JPEGInterchangeFormat and JPEGInterchangeFormatLength in IFD1, pointing at data stored
    // after everything else.
    TiffBuilder &thumbnail(const QByteArray &data);
    // IFD0's next-IFD offset, instead of the offset of the built IFD1.
    TiffBuilder &ifd1Offset(quint32 offset);
    // The byte-order mark written at the start (the numbers still follow the builder's order).
    TiffBuilder &byteOrderMark(const QByteArray &mark);

    QByteArray tiff() const;
    // SOI, the APP1 Exif segment holding tiff(), then EOI.
    QByteArray jpeg() const;

    QByteArray u16(quint16 value) const;
    QByteArray u32(quint32 value) const;

  private:
    struct Entry {
        quint16 tag = 0;
        quint16 type = 0;
        quint32 count = 0;
        QByteArray data;                 // the value, in file order
        std::optional<quint32> rawField; // or the value field itself
    };

    TiffBuilder &add(Ifd ifd, Entry entry);

    ByteOrder m_order;
    std::vector<Entry> m_entries[3];
    QByteArray m_thumbnail;
    std::optional<quint32> m_ifd1Offset;
    std::optional<QByteArray> m_byteOrderMark;
};

// Writes bytes to name inside folder and returns the path.
QString writeTestFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes);
QByteArray readTestFile(const QString &path);
