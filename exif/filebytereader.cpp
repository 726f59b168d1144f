#include "exif/filebytereader.h"

#include "exif/readerror.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Reads exactly length bytes at offset, retrying short reads and interruptions.
bool readFully(int fd, char *buffer, qint64 offset, qint64 length)
{
    while (length > 0) {
        const ssize_t got = ::pread(fd, buffer, static_cast<size_t>(length), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer += got;
        offset += got;
        length -= got;
    }
    return true;
}

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

qint32 FileByteReader::open(const QString &path, qint64 headSize)
{
    close();
    m_readFailed = false;
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
    m_head.resize(qMin(qMax<qint64>(headSize, 0), m_size));
    if (!readFully(m_fd, m_head.data(), 0, m_head.size())) {
        close();
        return ReadError::PathFileAccess;
    }
    return 0;
}

void FileByteReader::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
    m_head.clear();
}

bool FileByteReader::contains(qint64 offset, qint64 length) const
{
    return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
}

std::optional<QByteArrayView> FileByteReader::headView(qint64 offset, qint64 length) const
{
    return ByteReader(m_head).view(offset, length);
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
    if (!readFully(m_fd, data.data(), offset, length)) {
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
