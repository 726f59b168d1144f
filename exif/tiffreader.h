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

// Walks the TIFF structure of the file's Exif APP1 segment, wherever it stands in front of
// the frame: TIFF offset t is file offset t + the segment's tiffBase(). Numbers that lie past
// the end of the file read as 0
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

    // Reads the byte-order mark of the file's Exif segment. Returns whether the file is Exif,
    // or no value when the header could not be read. A file without an Exif segment keeps
    // the two characters at file offset 12 as its mark, where a first segment would hold it.
    std::optional<bool> readHeader();
    QByteArray byteOrderMark() const { return m_byteOrderMark; }
    bool isKnownByteOrder() const { return m_byteOrderMark == "II" || m_byteOrderMark == "MM"; }

    qint64 fileOffset(quint32 tiffOffset) const { return m_tiffBase + tiffOffset; }
    quint32 ifd0Offset();
    std::optional<IfdDirectory> directory(quint32 tiffOffset);
    std::optional<QByteArray> text(const IfdEntry &entry, TextForm form);
    Rational rational(const IfdEntry &entry);

    qint32 error() const { return m_error; }

  private:
    // SOI, then an Exif APP1 segment's marker, length, "Exif" and two zero bytes.
    static constexpr qint64 kFirstSegmentTiffBase = 12;

    quint32 numberAt(qint64 fileOffset);
    IfdEntry decodeEntry(const char *p) const;
    void fail(qint32 error);

    FileByteReader &m_file;
    QByteArray m_byteOrderMark;
    ByteOrder m_order = ByteOrder::LittleEndian;
    qint64 m_tiffBase = kFirstSegmentTiffBase;
    qint32 m_error = 0;
};
