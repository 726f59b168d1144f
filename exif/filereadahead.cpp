#include "exif/filereadahead.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "exif/descriptor.h"

// An open file whose chunks are being read; closed when the last is done.
struct FileReadAhead::OpenFile {
    explicit OpenFile(int descriptor) : fd(descriptor) {}
    ~OpenFile() { ::close(fd); }
    const int fd;
};

void readIntoPageCache(const QString &path, qint64 maxBytes)
{
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {
    };
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return;
    // The kernel sends the reads at once and copies nothing; pages already cached cost nothing.
    (void)::readahead(file.get(), 0, size_t(std::min<qint64>(status.st_size, maxBytes)));
}

FileReadAhead::FileReadAhead(QStringList paths, int filesAhead)
    : m_paths(std::move(paths)), m_filesAhead(std::max(1, filesAhead))
{
    const int readers = m_paths.isEmpty() ? 0 : Readers;
    for (int i = 0; i < readers; ++i)
        m_readers.emplace_back([this] { work(); });
    reached(0);
}

FileReadAhead::~FileReadAhead()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_chunks.clear();
    }
    m_wanted.notify_all();
    for (std::thread &reader : m_readers)
        reader.join();
}

void FileReadAhead::reached(int index)
{
    {
        std::lock_guard lock(m_mutex);
        const int limit = int(std::min<qint64>(m_paths.size(), qint64(index) + m_filesAhead));
        if (limit <= m_limit)
            return;
        m_limit = limit;
    }
    m_wanted.notify_all();
}

void FileReadAhead::waitUntilRead()
{
    std::unique_lock lock(m_mutex);
    m_progressed.wait(lock, [&] {
        return m_readers.empty() || (m_nextFile == m_limit && m_chunks.empty() && m_busy == 0);
    });
}

int FileReadAhead::filesStarted() const
{
    std::lock_guard lock(m_mutex);
    return m_nextFile;
}

void FileReadAhead::work()
{
    std::vector<char> buffer(static_cast<size_t>(ChunkBytes));
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wanted.wait(lock,
                      [&] { return m_stopping || !m_chunks.empty() || m_nextFile < m_limit; });
        if (m_stopping)
            return;
        ++m_busy;
        if (m_chunks.empty()) {
            openNext(lock);
        } else {
            Chunk chunk = std::move(m_chunks.front());
            m_chunks.pop_front();
            lock.unlock();
            (void)::pread(chunk.file->fd, buffer.data(), size_t(chunk.length), chunk.offset);
            chunk.file.reset();
            lock.lock();
        }
        --m_busy;
        m_progressed.notify_all();
    }
}

// Opens the next file (without the lock: on a share an open waits as long as a
// read) and queues its chunks. Only regular files are read: a FIFO named like a
// picture must not block a reader.
void FileReadAhead::openNext(std::unique_lock<std::mutex> &lock)
{
    const QString path = m_paths.at(m_nextFile++);
    lock.unlock();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {
    };
    std::shared_ptr<OpenFile> file;
    if (fd >= 0)
        file = std::make_shared<OpenFile>(fd);
    const bool regular = file && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    lock.lock();
    if (!regular || m_stopping)
        return;
    const qint64 size = std::min<qint64>(status.st_size, MaxBytesPerFile);
    for (qint64 offset = 0; offset < size; offset += ChunkBytes)
        m_chunks.push_back({file, offset, std::min(ChunkBytes, size - offset)});
    m_wanted.notify_all();
}
