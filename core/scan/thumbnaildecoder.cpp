#include "core/scan/thumbnaildecoder.h"

#include <algorithm>
#include <new>

ThumbnailDecoder::ThumbnailDecoder(const QStringList &paths, ThumbnailProduction produce,
                                   int workers, int lookahead)
    : m_paths(paths), m_produce(std::move(produce)),
      m_lookahead(std::max(1, lookahead > 0 ? lookahead : 4 * workers))
{
    for (int i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

ThumbnailDecoder::~ThumbnailDecoder()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workWanted.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

int ThumbnailDecoder::defaultWorkerCount()
{
    return 16;
}

ProducedThumbnail ThumbnailDecoder::take(int index)
{
    if (index < 0 || index >= m_paths.size())
        return {};
    if (m_workers.empty())
        return produceSafely(index);

    std::unique_lock lock(m_mutex);
    const int wanted = int(std::min<qsizetype>(m_paths.size(), qsizetype(index) + m_lookahead));
    // Waking a worker costs about as much as decoding a thumbnail, so the
    // window opens a batch of files at a time, unless this file is not yet
    // allowed at all.
    const int batch = std::max(1, m_lookahead / 4);
    if (wanted >= m_limit + batch || (index >= m_limit && wanted > m_limit)) {
        const int opened = wanted - std::max(m_limit, m_next);
        m_limit = wanted;
        wakeWorkers(opened);
    }
    if (!m_ready.contains(index)) {
        m_waitingFor = index;
        m_workDone.wait(lock, [&] { return batchReady(index); });
        m_waitingFor = -1;
    }
    auto found = m_ready.find(index);
    ProducedThumbnail result = std::move(found->second);
    m_ready.erase(found);
    return result;
}

void ThumbnailDecoder::hold()
{
    std::lock_guard lock(m_mutex);
    m_limit = m_next;
}

void ThumbnailDecoder::restartFrom(int index)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_ready.erase(m_ready.lower_bound(index), m_ready.end());
        m_next = std::min(m_next, index);
    }
    m_workWanted.notify_all();
}

// Once the taking thread has to wait, it sleeps until a batch of files is ready (or every file
// started is): each wake-up costs about as much as decoding a thumbnail.
bool ThumbnailDecoder::batchReady(int index) const
{
    if (!m_ready.contains(index))
        return false;
    const int end = std::min(index + kTakenBatch, m_next);
    for (int later = index + 1; later < end; ++later) {
        if (!m_ready.contains(later))
            return false;
    }
    return true;
}

// Wakes no more idle workers than there are files for them.
void ThumbnailDecoder::wakeWorkers(int files)
{
    const int woken = std::min(files, int(m_workers.size()));
    for (int i = 0; i < woken; ++i)
        m_workWanted.notify_one();
}

ProducedThumbnail ThumbnailDecoder::produceSafely(int index) const
{
    try {
        return m_produce(m_paths.at(index));
    } catch (const std::bad_alloc &) {
        ProducedThumbnail failed;
        failed.outcome = ProducedThumbnail::Outcome::OutOfMemory;
        return failed;
    }
}

void ThumbnailDecoder::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workWanted.wait(lock, [&] { return m_stopping || m_next < m_limit; });
        if (m_stopping)
            return;
        const int index = m_next++;
        const quint64 generation = m_generation;
        lock.unlock();
        ProducedThumbnail result = produceSafely(index);
        lock.lock();
        if (generation == m_generation) {
            m_ready.insert_or_assign(index, std::move(result));
            if (m_waitingFor >= 0 && batchReady(m_waitingFor))
                m_workDone.notify_one(); // only the taking thread waits for results
        }
    }
}
