#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "exif/buildahead.h"

namespace
{

// What the builds did: how many results exist at once, which items were started.
struct Ledger {
    std::mutex mutex;
    int live = 0;
    int peak = 0;
    qsizetype started = 0;
};

// A result that counts itself in the ledger while it exists.
class Counted
{
  public:
    Counted(qsizetype index, Ledger &ledger) : index(index), m_ledger(&ledger)
    {
        const std::lock_guard lock(ledger.mutex);
        ledger.peak = std::max(ledger.peak, ++ledger.live);
    }
    Counted(Counted &&other) noexcept
        : index(other.index), m_ledger(std::exchange(other.m_ledger, nullptr))
    {
    }
    Counted &operator=(Counted &&other) noexcept
    {
        std::swap(m_ledger, other.m_ledger);
        index = other.index;
        return *this;
    }
    ~Counted()
    {
        if (!m_ledger)
            return;
        const std::lock_guard lock(m_ledger->mutex);
        --m_ledger->live;
    }

    qsizetype index;

  private:
    Ledger *m_ledger;
};

// Builds of uneven length, so that later items often finish first.
BuildAhead<Counted>::BuildItem countedBuild(Ledger &ledger)
{
    return [&ledger](qsizetype index) {
        {
            const std::lock_guard lock(ledger.mutex);
            ++ledger.started;
        }
        std::this_thread::sleep_for(std::chrono::microseconds((index * 7919) % 5 * 300));
        return Counted(index, ledger);
    };
}

} // namespace

TEST(BuildAhead, HandsOverInListOrderWithOneResultAheadPerWorker)
{
    constexpr qsizetype kCount = 24;
    for (const int workers : {1, 2, 3, 8}) {
        SCOPED_TRACE(workers);
        Ledger ledger;
        {
            BuildAhead<Counted> ahead(kCount, countedBuild(ledger), workers);
            for (qsizetype i = 0; i < kCount; ++i) {
                const Counted taken = ahead.takeNext();
                EXPECT_EQ(taken.index, i);
                std::this_thread::sleep_for(std::chrono::microseconds(500)); // placing it
            }
        }
        // Those waiting built, and the one in the taker's hand.
        EXPECT_LE(ledger.peak, workers + 1);
        EXPECT_EQ(ledger.started, kCount);
        EXPECT_EQ(ledger.live, 0);
    }
}

TEST(BuildAhead, EndingEarlyStartsNothingMoreAndThrowsAwayWhatWasBuilt)
{
    constexpr int kWorkers = 3;
    constexpr qsizetype kTaken = 5;
    Ledger ledger;
    {
        BuildAhead<Counted> ahead(100, countedBuild(ledger), kWorkers);
        for (qsizetype i = 0; i < kTaken; ++i)
            ahead.takeNext();
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the workers catch up
    }
    EXPECT_LE(ledger.started, kTaken + kWorkers);
    EXPECT_EQ(ledger.live, 0);
}
