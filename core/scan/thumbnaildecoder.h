#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <QStringList>

#include "core/scan/producedthumbnail.h"

// Produces the list pictures of a scan ahead of the scan loop on worker
// threads, and hands them out strictly in file order. The loop keeps its own
// order, stop points and questions; the workers only run at most `lookahead`
// files ahead of it, so the memory held stays bounded. There are more workers
// than processors: most of a worker's time on a network share or a cold disk
// is spent waiting for its file, and the decoding itself takes a DecodeTurn.
class ThumbnailDecoder
{
  public:
    // With workers == 0 every picture is produced on the caller's thread in take().
    // A lookahead of 0 is four times the number of workers, so that they
    // rarely find the window closed and sleep.
    ThumbnailDecoder(const QStringList &paths, ThumbnailProduction produce, int workers,
                     int lookahead = 0);
    ~ThumbnailDecoder();

    ThumbnailDecoder(const ThumbnailDecoder &) = delete;
    ThumbnailDecoder &operator=(const ThumbnailDecoder &) = delete;

    // The picture of file `index`, waiting for it when needed. Call with
    // increasing indexes.
    ProducedThumbnail take(int index);

    // Starts no further files until the next take(), e.g. while the files
    // may be rewritten; files already being read are finished.
    void hold();

    // Forgets what was produced for `index` and later (the files changed on
    // disk, e.g. converted in place), so they are read again as they now are.
    // Every file before `index` must have been taken already.
    void restartFrom(int index);

    // Files read at once: enough to hide a network's latency behind the
    // decoding, while holding no more than a few dozen files' bytes.
    static int defaultWorkerCount();

  private:
    static constexpr int kTakenBatch = 8;

    bool batchReady(int index) const;
    void wakeWorkers(int files);
    ProducedThumbnail produceSafely(int index) const;
    void work();

    const QStringList m_paths;
    const ThumbnailProduction m_produce;
    const int m_lookahead;

    std::mutex m_mutex;
    std::condition_variable m_workWanted;
    std::condition_variable m_workDone;
    int m_next = 0;        // next index a worker picks up
    int m_limit = 0;       // workers stop before this index
    int m_waitingFor = -1; // the index the taking thread sleeps for
    quint64 m_generation = 0;
    bool m_stopping = false;
    std::map<int, ProducedThumbnail> m_ready;
    std::vector<std::thread> m_workers;
};
