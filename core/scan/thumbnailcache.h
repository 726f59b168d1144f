#pragma once

#include <list>
#include <unordered_map>

#include <QImage>

// Decoded thumbnails by key, holding at most a fixed number of bytes: the
// least recently used pictures are dropped first. Used from one thread.
class ThumbnailCache
{
  public:
    explicit ThumbnailCache(qint64 byteBudget);

    // The picture for `key`, marked as just used; a null image when absent.
    QImage find(quint64 key);
    // Stores (or replaces) the picture for `key`, then trims to the budget.
    // A picture larger than the whole budget is not kept.
    void insert(quint64 key, const QImage &image);
    void remove(quint64 key);
    void clear();

    qint64 byteBudget() const { return m_byteBudget; }
    qint64 bytesUsed() const { return m_bytesUsed; }
    int count() const { return int(m_entries.size()); }

  private:
    struct Entry {
        quint64 key;
        QImage image;
    };
    using Order = std::list<Entry>; // most recently used first

    void trim();

    qint64 m_byteBudget;
    qint64 m_bytesUsed = 0;
    Order m_order;
    std::unordered_map<quint64, Order::iterator> m_entries;
};
