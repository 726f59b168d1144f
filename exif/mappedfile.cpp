#include "exif/mappedfile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace
{
QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

MappedFile::MappedFile(const QString &path)
{
    // Not blocking: a pipe put in a picture's place must fail, not wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_error = errnoText(errno);
        return;
    }
    map(fd);
    // The mapping stays valid without the descriptor.
    ::close(fd);
}

MappedFile::~MappedFile()
{
    if (m_data)
        ::munmap(m_data, size_t(m_size));
}

void MappedFile::map(int fd)
{
    struct stat info {
    };
    if (::fstat(fd, &info) != 0) {
        m_error = errnoText(errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        m_error = QStringLiteral("not a regular file");
        return;
    }
    if (info.st_size == 0) {
        m_error = QStringLiteral("empty file");
        return;
    }
    void *data = ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) {
        m_error = errnoText(errno);
        return;
    }
    // The decoder reads the file once from start to end.
    ::madvise(data, size_t(info.st_size), MADV_SEQUENTIAL);
    m_data = data;
    m_size = qsizetype(info.st_size);
}
