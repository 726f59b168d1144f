#include "exif/filebytereader.h"

#include "exif/readerror.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

qint32 errorNumberFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ReadError::FileNotFound;
    case EINVAL:
    case ENAMETOOLONG:
        return ReadError::BadFileName;
    default:
        return ReadError::PathFileAccess;
    }
}

} // namespace

FileByteReader::~FileByteReader()
{
    close();
}

qint32 FileByteReader::open(const QString &path, qint64 firstReadSize)
{
    close();
    m_readFailed = false;
    m_readCalls = 0;
    m_bytesRead = 0;
    if (path.isEmpty())
        return ReadError::BadFileName;
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return errorNumberFromErrno(errno);
    struct stat info {
    };
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close();
        return ReadError::PathFileAccess;
    }
    m_size = info.st_size;
    if (!readHead(qBound<qint64>(0, firstReadSize, qMin(FirstReadSize, m_size)))) {
        close();
        return ReadError::PathFileAccess;
    }
    return 0;
}

// An Exif segment that runs beyond the first read is completed by one more read.
bool FileByteReader::readHead(qint64 firstReadSize)
{
    if (!readAt(m_head.data(), 0, firstReadSize))
        return false;
    m_headSize = firstReadSize;
    m_exifSegment = findExifSegment(*this);
    if (m_readFailed)
        return false;
    if (!m_exifSegment)
        return true;
    const qint64 segmentEnd = qMin(m_exifSegment->end, m_size);
    if (segmentEnd <= firstReadSize)
        return true;
    if (segmentEnd <= MaxHeadSize) {
        if (!readAt(m_head.data() + firstReadSize, firstReadSize, segmentEnd - firstReadSize))
            return false;
        m_headSize = segmentEnd;
        return true;
    }
    const qint64 segmentSize = segmentEnd - m_exifSegment->start;
    if (!readAt(m_head.data(), m_exifSegment->start, segmentSize))
        return false;
    m_headStart = m_exifSegment->start;
    m_headSize = segmentSize;
    return true;
}

// Reads exactly length bytes at offset, retrying short reads and interruptions.
bool FileByteReader::readAt(char *buffer, qint64 offset, qint64 length)
{
    while (length > 0) {
        const ssize_t got = ::pread(m_fd, buffer, static_cast<size_t>(length), offset);
        if (got < 0 && errno == EINTR)
            continue;
        ++m_readCalls;
        if (got <= 0)
            return false;
        m_bytesRead += got;
        buffer += got;
        offset += got;
        length -= got;
    }
    return true;
}

void FileByteReader::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
    m_headStart = 0;
    m_headSize = 0;
    m_exifSegment.reset();
}

bool FileByteReader::contains(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
}

std::optional<QByteArrayView> FileByteReader::headView(qint64 offset, qint64 length) const
{
    if (offset < m_headStart)
        return std::nullopt;
    return ByteReader(QByteArrayView(m_head.data(), m_headSize)).view(offset - m_headStart, length);
}

std::optional<quint16> FileByteReader::u16(qint64 offset, ByteOrder order)
{
    if (const auto inHead = headView(offset, 2))
        return decodeU16(inHead->data(), order);
    const auto data = bytes(offset, 2);
    if (!data)
        return std::nullopt;
    return decodeU16(data->constData(), order);
}

std::optional<quint32> FileByteReader::u32(qint64 offset, ByteOrder order)
{
    if (const auto inHead = headView(offset, 4))
        return decodeU32(inHead->data(), order);
    const auto data = bytes(offset, 4);
    if (!data)
        return std::nullopt;
    return decodeU32(data->constData(), order);
}

std::optional<QByteArray> FileByteReader::bytes(qint64 offset, qint64 length)
{
    if (!isOpen() || !contains(offset, length))
        return std::nullopt;
    if (const auto inHead = headView(offset, length))
        return inHead->toByteArray();
    QByteArray data(length, Qt::Uninitialized);
    if (!readAt(data.data(), offset, length)) {
        m_readFailed = true;
        return std::nullopt;
    }
    return data;
}

std::optional<QByteArray> FileByteReader::bytesUpTo(qint64 offset, qint64 length)
{
    if (!isOpen() || offset < 0 || length < 0)
        return std::nullopt;
    if (offset >= m_size)
        return QByteArray();
    return bytes(offset, qMin(length, m_size - offset));
}

std::optional<QByteArrayView> FileByteReader::viewUpTo(qint64 offset, qint64 length,
                                                       QByteArray &storage)
{
    if (!isOpen() || offset < 0 || length < 0)
        return std::nullopt;
    if (offset >= m_size)
        return QByteArrayView();
    const qint64 inFile = qMin(length, m_size - offset);
    if (const auto inHead = headView(offset, inFile))
        return inHead;
    storage.resize(inFile);
    if (!readAt(storage.data(), offset, inFile)) {
        m_readFailed = true;
        return std::nullopt;
    }
    return QByteArrayView(storage);
}
