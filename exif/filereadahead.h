#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QStringList>

// Has the kernel read the start of a regular file, up to `maxBytes`, into the
// page cache, all requests at once, so that a decoder streaming it afterwards
// does not wait for each of its reads in turn.
void readIntoPageCache(const QString &path, qint64 maxBytes);

// Reads files ahead of a run that will open them in turn (a batch of turns or
// conversions, the slide show's next picture), so that their bytes are in the
// page cache when the run gets there. On a cold disk or a network share the
// reads then overlap, many requests in flight, instead of following one
// another. The bytes go to the kernel's cache: this holds only one chunk per
// reader, and reads at most `filesAhead` files beyond the run's position.
class FileReadAhead
{
  public:
    static constexpr int Readers = 16;
    static constexpr qint64 ChunkBytes = 512 * 1024;
    // Only the start of anything larger than a picture is read ahead.
    static constexpr qint64 MaxBytesPerFile = 64 * 1024 * 1024;

    explicit FileReadAhead(QStringList paths, int filesAhead = 16);
    ~FileReadAhead();

    FileReadAhead(const FileReadAhead &) = delete;
    FileReadAhead &operator=(const FileReadAhead &) = delete;

    // The run is at file `index`: files up to index + filesAhead - 1 may be read.
    void reached(int index);

    // Waits until every file the run has reached so far is read.
    void waitUntilRead();

    // Files whose reading has begun, for tests.
    int filesStarted() const;

  private:
    struct OpenFile;
    struct Chunk {
        std::shared_ptr<OpenFile> file;
        qint64 offset = 0;
        qint64 length = 0;
    };

    void work();
    void openNext(std::unique_lock<std::mutex> &lock);

    const QStringList m_paths;
    const int m_filesAhead;

    mutable std::mutex m_mutex;
    std::condition_variable m_wanted;
    std::condition_variable m_progressed;
    int m_busy = 0; // readers opening or reading
    std::deque<Chunk> m_chunks;
    int m_nextFile = 0;
    int m_limit = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_readers;
};
