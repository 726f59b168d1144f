#include "core/scan/thumbnailcache.h"

ThumbnailCache::ThumbnailCache(qint64 byteBudget) : m_byteBudget(byteBudget) {}

QImage ThumbnailCache::find(quint64 key)
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return {};
    m_order.splice(m_order.begin(), m_order, found->second);
    return found->second->image;
}

void ThumbnailCache::insert(quint64 key, const QImage &image)
{
    remove(key);
    const qint64 size = image.sizeInBytes();
    if (image.isNull() || size > m_byteBudget)
        return;
    m_order.push_front(Entry{key, image});
    m_entries.emplace(key, m_order.begin());
    m_bytesUsed += size;
    trim();
}

void ThumbnailCache::remove(quint64 key)
{
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return;
    m_bytesUsed -= found->second->image.sizeInBytes();
    m_order.erase(found->second);
    m_entries.erase(found);
}

void ThumbnailCache::clear()
{
    m_order.clear();
    m_entries.clear();
    m_bytesUsed = 0;
}

void ThumbnailCache::trim()
{
    while (m_bytesUsed > m_byteBudget && !m_order.empty()) {
        const Entry &oldest = m_order.back();
        m_bytesUsed -= oldest.image.sizeInBytes();
        m_entries.erase(oldest.key);
        m_order.pop_back();
    }
}
