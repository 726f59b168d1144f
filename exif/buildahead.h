#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <QtGlobal>

// Works through a list on worker threads ahead of one consumer that takes the
// results strictly in list order on its own thread: a batch over files builds
// the next files while the current one is placed, and everything that needs
// the user or must happen in order stays with the consumer.
//
// At most one result per worker is built and not yet taken, so memory and
// work files stay bounded. Destroying the object ends the batch: each worker
// finishes the item in hand, no further item is started, and every result not
// taken is destroyed, so a result that owns a work file removes it then.
//
// `build` runs on the workers, several items at once: it must only touch
// what belongs to its own item.
template <typename Built> class BuildAhead
{
  public:
    using BuildItem = std::function<Built(qsizetype index)>;

    BuildAhead(qsizetype count, BuildItem build, int workers)
        : m_build(std::move(build)), m_results(size_t(count)), m_ahead(qMax(1, workers))
    {
        const qsizetype threads = qMin<qsizetype>(m_ahead, count);
        for (qsizetype i = 0; i < threads; ++i)
            m_workers.emplace_back([this] { work(); });
    }

    ~BuildAhead()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_ending = true;
        }
        m_changed.notify_all();
        for (std::thread &worker : m_workers)
            worker.join();
    }

    BuildAhead(const BuildAhead &) = delete;
    BuildAhead &operator=(const BuildAhead &) = delete;

    // The next item's result in list order, once built. Called at most once
    // per item.
    Built takeNext()
    {
        std::unique_lock lock(m_mutex);
        std::optional<Built> &slot = m_results[size_t(m_taken)];
        m_changed.wait(lock, [&] { return slot.has_value(); });
        Built built = std::move(*slot);
        slot.reset();
        ++m_taken;
        lock.unlock();
        m_changed.notify_all(); // a worker may start the next item now
        return built;
    }

  private:
    void work()
    {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_changed.wait(lock, [this] { return m_ending || !mayStart() || isTurnToStart(); });
            if (m_ending || !mayStart())
                return;
            const qsizetype index = m_started++;
            lock.unlock();
            Built built = m_build(index);
            lock.lock();
            m_results[size_t(index)] = std::move(built);
            m_changed.notify_all();
        }
    }

    bool mayStart() const { return m_started < qsizetype(m_results.size()); }
    bool isTurnToStart() const { return m_started < m_taken + m_ahead; }

    const BuildItem m_build;
    std::vector<std::optional<Built>> m_results;
    const qsizetype m_ahead; // how many results may wait built and not taken
    std::mutex m_mutex;
    std::condition_variable m_changed;
    qsizetype m_started = 0;
    qsizetype m_taken = 0;
    bool m_ending = false;
    std::vector<std::thread> m_workers;
};

// One worker per core the process may run on.
int buildAheadWorkers();
