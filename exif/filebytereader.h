#pragma once

#include "exif/bytereader.h"
#include "exif/exifsegment.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// Bounds-checked reads from a file that fetch only the ranges asked for. Opening reads a
// small head (one page) and looks there for the Exif APP1 segment (exif/exifsegment.h); when
// the segment runs beyond the page, it follows in one more read, so the header directories,
// their values and the embedded thumbnail are in memory without touching the picture data
// behind them. A range outside the held bytes is read with one pread() of exactly that range.
// Only regular files are read: a directory, FIFO or device fails at open, and the file is
// opened non-blocking so that opening a FIFO cannot hang.
class FileByteReader
{
  public:
    // A page: a camera's header needs one more read, a plain JPEG none.
    static constexpr qint64 FirstReadSize = 4096;
    // SOI, APP1 marker and the largest APP1 segment: 2 + 2 + 65535 bytes. An Exif segment
    // that would end beyond it is held on its own, without the bytes in front of it.
    static constexpr qint64 MaxHeadSize = 65539;

    FileByteReader() = default;
    ~FileByteReader();
    FileByteReader(const FileByteReader &) = delete;
    FileByteReader &operator=(const FileByteReader &) = delete;

    // Opens the file and reads its head; firstReadSize (at most FirstReadSize) lets tests put
    // the end of the first read where they need it. Returns 0, or the ReadError number of the
    // failure (exif/readerror.h).
    qint32 open(const QString &path, qint64 firstReadSize = FirstReadSize);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    qint64 size() const { return m_size; }
    // The file's Exif APP1 segment, found at open.
    std::optional<ExifSegment> exifSegment() const { return m_exifSegment; }
    bool contains(qint64 offset, qint64 length) const;

    // No value when the range is not wholly inside the file or the read fails
    // (readFailed() then tells the two apart).
    std::optional<quint16> u16(qint64 offset, ByteOrder order);
    std::optional<quint32> u32(qint64 offset, ByteOrder order);
    std::optional<QByteArray> bytes(qint64 offset, qint64 length);
    // The part of [offset, offset + length) that lies inside the file: shorter than length
    // (possibly empty) when the range runs past the end. The caller bounds length.
    std::optional<QByteArray> bytesUpTo(qint64 offset, qint64 length);
    // The same part as a view: into the head when it lies there, else into storage, which
    // receives the bytes read. Valid while the reader stays open and storage is unchanged.
    std::optional<QByteArrayView> viewUpTo(qint64 offset, qint64 length, QByteArray &storage);
    bool readFailed() const { return m_readFailed; }

    // What the file has cost since open(): read calls and bytes read.
    int readCalls() const { return m_readCalls; }
    qint64 bytesRead() const { return m_bytesRead; }

  private:
    std::optional<QByteArrayView> headView(qint64 offset, qint64 length) const;
    bool readHead(qint64 firstReadSize);
    bool readAt(char *buffer, qint64 offset, qint64 length);

    int m_fd = -1;
    qint64 m_size = 0;
    // The head lives inside the reader (which callers keep on the stack): no allocation and
    // no copy per file. Only the bytes read are ever touched.
    std::array<char, MaxHeadSize> m_head;
    qint64 m_headStart = 0; // file offset of m_head's first byte
    qint64 m_headSize = 0;
    std::optional<ExifSegment> m_exifSegment;
    bool m_readFailed = false;
    int m_readCalls = 0;
    qint64 m_bytesRead = 0;
};
