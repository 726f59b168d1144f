#pragma once

#include "exif/bytereader.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

class FileByteReader;

// One 12-byte directory entry.
struct IfdEntry {
    quint16 tag = 0;
    quint16 type = 0;
    quint32 count = 0;
    // The value field as a number: a SHORT from its first two bytes, a short UNDEFINED
    // value in file order, everything else as a 32-bit number in the file's byte order.
    quint32 value = 0;
    std::array<char, 4> field{}; // the value field in file order
};

struct IfdDirectory {
    std::vector<IfdEntry> entries;
    quint32 nextOffset = 0;
};

struct Rational {
    qint32 numerator = 0;
    qint32 denominator = 0;
};

// Walks the TIFF structure of an Exif APP1 segment that follows the SOI marker directly.
// TIFF offset t is file offset t + 12. Numbers that lie past the end of the file read as 0
// and do not end the walk; a text past the end, an entry count above 32767 or a read error
// fail it, after which error() holds the ReadError number.
class TiffReader
{
  public:
    enum class TextForm {
        WithoutTerminator, // count - 1 bytes: the terminator is dropped
        WithTerminator,    // count bytes
    };

    explicit TiffReader(FileByteReader &file) : m_file(file) {}

    // Reads the four characters at file offset 6 and the byte-order mark at 12. Returns
    // whether the file is Exif, or no value when the header could not be read.
    std::optional<bool> readHeader();
    QByteArray byteOrderMark() const { return m_byteOrderMark; }
    bool isKnownByteOrder() const { return m_byteOrderMark == "II" || m_byteOrderMark == "MM"; }

    quint32 ifd0Offset();
    std::optional<IfdDirectory> directory(quint32 tiffOffset);
    std::optional<QByteArray> text(const IfdEntry &entry, TextForm form);
    Rational rational(const IfdEntry &entry);

    qint32 error() const { return m_error; }

  private:
    quint32 numberAt(qint64 fileOffset);
    IfdEntry decodeEntry(const char *p) const;
    void fail(qint32 error);

    FileByteReader &m_file;
    QByteArray m_byteOrderMark;
    ByteOrder m_order = ByteOrder::LittleEndian;
    qint32 m_error = 0;
};
