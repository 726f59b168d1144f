#include "core/slideshow/slidesequence.h"

#include <algorithm>
#include <utility>

#include <QHash>

#include "core/slideshow/effectplans.h"

SlideSequence::SlideSequence(SlideSource source, int count, int startIndex, UnitRandom random)
    : m_source(source), m_count(std::max(0, count)), m_random(std::move(random))
{
    makeRandomOrder();
    m_position = clamped(startIndex);
    m_current = m_position;
}

namespace
{

// Where the picture at `shown` in `before` stands in `after`: its own index and true, or else
// the index of the first picture after it that is still there (after's size for none) and false.
std::pair<int, bool> placeInNewNames(const QStringList &before, int shown, const QStringList &after)
{
    QHash<QString, int> places;
    for (int i = 0; i < after.size(); ++i)
        places.insert(after[i], i);
    for (qsizetype i = std::max(shown, 0); i < before.size(); ++i) {
        if (const int place = places.value(before[i], -1); place >= 0)
            return {place, i == shown};
    }
    return {int(after.size()), false};
}

} // namespace

// A picture that is gone leaves the position one step short of the picture the next step
// should show; past either end the step wraps as usual.
void SlideSequence::followFolder(const QStringList &before, const QStringList &after, int order)
{
    if (m_source != SlideSource::Folder)
        return;
    if (after.size() != m_count) {
        m_count = int(after.size());
        makeRandomOrder();
    }
    const auto [place, kept] = placeInNewNames(before, m_current, after);
    m_current = clamped(place);
    if (order == Random)
        m_position = clamped(m_position);
    else if (kept)
        m_position = place;
    else if (order == Descending)
        m_position = place <= highest() ? place : lowest();
    else
        m_position = place > lowest() ? place - 1 : highest();
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
