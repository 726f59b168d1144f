#include "exif/jpgsize.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>

#include <optional>

#include "exif/bytereader.h"

namespace
{

constexpr quint8 kSof0 = 0xC0;
constexpr quint8 kSof3 = 0xC3;
constexpr quint8 kDht = 0xC4;
constexpr quint8 kSos = 0xDA;
constexpr quint8 kDqt = 0xDB;
constexpr quint8 kApp0 = 0xE0;
constexpr quint8 kApp15 = 0xEF;
constexpr quint8 kCom = 0xFE;

// Enough for the Exif header of most cameras in one read; larger segments are jumped over.
constexpr qint64 kChunkSize = 16384;

// A read-only regular file read in chunks: bytes are fetched only around the positions
// asked for, and every read goes through a bounds-checked ByteReader over the chunk.
class ChunkedFile
{
  public:
    ChunkedFile() = default;
    ~ChunkedFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ChunkedFile(const ChunkedFile &) = delete;
    ChunkedFile &operator=(const ChunkedFile &) = delete;

    bool open(const QString &path)
    {
        // Non-blocking, so that a FIFO given as a picture cannot hang the open.
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return false;
        struct stat info {
        };
        if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))
            return false;
        m_size = info.st_size;
        return true;
    }

    std::optional<quint16> wordAt(qint64 position)
    {
        if (!load(position, 2))
            return std::nullopt;
        return ByteReader(m_chunk).u16(position - m_chunkStart, ByteOrder::BigEndian);
    }

  private:
    // Makes [position, position + length) available in the chunk; false past the end.
    bool load(qint64 position, qint64 length)
    {
        if (position < 0 || position > m_size || length > m_size - position)
            return false;
        if (position >= m_chunkStart && position - m_chunkStart <= m_chunk.size() - length)
            return true;
        const qint64 wanted = std::min(kChunkSize, m_size - position);
        m_chunk.resize(wanted);
        m_chunkStart = position;
        qint64 done = 0;
        while (done < wanted) {
            const ssize_t got =
                ::pread(m_fd, m_chunk.data() + done, size_t(wanted - done), position + done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
        m_chunk.resize(done);
        return done >= length;
    }

    int m_fd = -1;
    qint64 m_size = 0;
    QByteArray m_chunk;
    qint64 m_chunkStart = 0;
};

struct Marker {
    quint8 code = 0;
    qint64 position = 0; // of its 0xFF byte
};

// The word-by-word marker walk shared by the operations.
class MarkerWalk
{
  public:
    bool open(const QString &path) { return m_file.open(path); }
    ChunkedFile &file() { return m_file; }
    qint64 position() const { return m_position; }

    // The next word that names a marker; none at the end of the file.
    std::optional<Marker> nextMarker()
    {
        while (const auto word = m_file.wordAt(m_position)) {
            const qint64 wordPosition = m_position;
            m_position += 2;
            if ((*word >> 8) == 0xFF)
                return Marker{quint8(*word & 0xFF), wordPosition};
        }
        return std::nullopt;
    }

    // Skips the segment of the marker just returned, landing on its last word. False when the
    // length cannot be read or would not move the walk forward (a length of 0).
    bool skipSegment(const Marker &marker)
    {
        const auto length = m_file.wordAt(m_position);
        if (!length)
            return false;
        m_position = m_position + 2 + *length - 4;
        return m_position > marker.position;
    }

  private:
    ChunkedFile m_file;
    qint64 m_position = 0;
};

bool isFrameMarker(quint8 code)
{
    return code >= kSof0 && code <= kSof3;
}

bool isSkippedSegment(quint8 code)
{
    return code == kDht || (code >= kApp0 && code <= kApp15) || code == kCom;
}

} // namespace

JpegSize GetJpegSize(const QString &path)
{
    MarkerWalk walk;
    if (!walk.open(path))
        return {};
    while (const auto marker = walk.nextMarker()) {
        if (isFrameMarker(marker->code)) {
            // Length (2 bytes) and sample precision (1 byte) come before the dimensions.
            const qint64 at = walk.position() + 3;
            const auto height = walk.file().wordAt(at);
            const auto width = walk.file().wordAt(at + 2);
            if (!height || !width)
                return {};
            return {qint32(*width), qint32(*height)};
        }
        if (marker->code == kSos)
            return {};
        if ((isSkippedSegment(marker->code) || marker->code == kDqt) && !walk.skipSegment(*marker))
            return {};
    }
    return {};
}

qint16 GetJpegFrameType(const QString &path)
{
    MarkerWalk walk;
    if (!walk.open(path))
        return -1;
    while (const auto marker = walk.nextMarker()) {
        if (isFrameMarker(marker->code))
            return qint16(marker->code - kSof0);
        if (marker->code == kSos)
            return -1;
        if ((isSkippedSegment(marker->code) || marker->code == kDqt) && !walk.skipSegment(*marker))
            return -1;
    }
    return -1;
}

qint16 SizeNotMultipleOf8(const QString &path)
{
    const JpegSize size = GetJpegSize(path);
    return (size.width % 8 != 0 || size.height % 8 != 0) ? 1 : 0;
}

qint32 FindJpegBody(const QString &path)
{
    MarkerWalk walk;
    if (!walk.open(path))
        return 0;
    while (const auto marker = walk.nextMarker()) {
        if (marker->code == kDqt)
            return marker->position <= INT32_MAX - 1 ? qint32(marker->position + 1) : 0;
        if (marker->code == kSof0 || marker->code == kSos)
            return 0;
        if (isSkippedSegment(marker->code) && !walk.skipSegment(*marker))
            return 0;
    }
    return 0;
}
