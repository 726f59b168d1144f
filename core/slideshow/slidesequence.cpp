#include "core/slideshow/slidesequence.h"

#include <algorithm>

#include "core/slideshow/effectplans.h"

SlideSequence::SlideSequence(SlideSource source, int count, int startIndex, UnitRandom random)
    : m_source(source), m_count(std::max(0, count)), m_random(std::move(random))
{
    makeRandomOrder();
    m_position = clamped(startIndex);
    m_current = m_position;
}

void SlideSequence::setFolderCount(int count)
{
    if (m_source != SlideSource::Folder || count == m_count)
        return;
    m_count = std::max(0, count);
    makeRandomOrder();
    m_position = clamped(m_position);
    m_current = clamped(m_current);
}

int SlideSequence::next(int order)
{
    if (isEmpty())
        return -1;
    m_current = stepped(order, +1, m_position);
    return m_current;
}

int SlideSequence::previous(int order)
{
    if (isEmpty())
        return -1;
    m_current = stepped(order, -1, m_position);
    return m_current;
}

int SlideSequence::peekNext(int order) const
{
    if (isEmpty())
        return -1;
    int position = m_position;
    return stepped(order, +1, position);
}

// Ascending and random orders move forwards on next, descending backwards; past either end
// the position wraps to the other.
int SlideSequence::stepped(int order, int direction, int &position) const
{
    const int lo = lowest(), hi = highest();
    position = clamped(position) + (order == Descending ? -direction : direction);
    if (position > hi)
        position = lo;
    if (position < lo)
        position = hi;
    if (order == Random)
        return clamped(m_randomOrder[size_t(position)]);
    return position;
}

// Slots lo..hi hold their own index, then as many swaps as there are pictures, of two
// positions drawn from 1..hi: position 0 keeps index 0.
void SlideSequence::makeRandomOrder()
{
    const int lo = lowest(), hi = highest();
    m_randomOrder.assign(size_t(std::max(hi, 0)) + 2, 0);
    for (int i = lo; i <= hi; ++i)
        m_randomOrder[size_t(i)] = i;
    const size_t lastSlot = m_randomOrder.size() - 1;
    for (int n = lo; n <= hi; ++n) {
        const size_t d = std::min(size_t(intOf(m_random() * hi + 1)), lastSlot);
        const size_t e = std::min(size_t(intOf(m_random() * hi + 1)), lastSlot);
        std::swap(m_randomOrder[d], m_randomOrder[e]);
    }
}

int SlideSequence::clamped(int index) const
{
    return isEmpty() ? lowest() : std::clamp(index, lowest(), highest());
}

int slideStartIndex(SlideSource source, const QStringList &names, const QString &currentName)
{
    const int lo = source == SlideSource::Folder ? 0 : 1;
    const qsizetype found = currentName.isEmpty() ? -1 : names.indexOf(currentName);
    return found < 0 ? lo : int(found) + lo;
}

QString slideName(SlideSource source, const QStringList &names, int index)
{
    if (names.isEmpty())
        return QString();
    const int entry = source == SlideSource::Folder ? index : index - 1;
    return names[std::clamp<qsizetype>(entry, 0, names.size() - 1)];
}
