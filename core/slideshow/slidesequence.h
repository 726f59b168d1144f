#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "core/slideshow/transitionplan.h"

// Which pictures a slide show runs over. Folder mode numbers the folder's names from 0 and
// follows the folder as it changes; list mode numbers the main list's entries from 1 and keeps
// the count it was opened with.
enum class SlideSource { Folder, List };

enum SlideOrder : int { Ascending = 0, Descending = 1, Random = 2 };

// The position of a slide show in its pictures and the random order it may follow. Every
// index it returns lies between lowest() and highest(); with no pictures there is none to
// return and next() and previous() give -1.
class SlideSequence
{
  public:
    // Starts on `startIndex` (clamped into the range).
    SlideSequence(SlideSource source, int count, int startIndex, UnitRandom random);

    int lowest() const { return m_source == SlideSource::Folder ? 0 : 1; }
    int highest() const { return lowest() + m_count - 1; }
    int count() const { return m_count; }
    bool isEmpty() const { return m_count <= 0; }

    // Folder mode only: the folder's names were `before` and are now `after`. The position
    // follows the picture shown last by its name; when that picture is gone, the next step in
    // `order` shows the picture that followed it (or, descending, the one before it). A new
    // count draws a new random order.
    void followFolder(const QStringList &before, const QStringList &after, int order);

    // Moves one picture on (or back) in `order` and returns the index to show.
    int next(int order);
    int previous(int order);
    // The index next() would return, without moving.
    int peekNext(int order) const;
    // The index shown last (at first, the start index).
    int current() const { return m_current; }
    // The position in the order: the index itself, or its slot in the random order.
    int position() const { return m_position; }

    // The random order: slots 0 to highest() + 1; the slot at a position holds its index.
    const std::vector<int> &randomOrder() const { return m_randomOrder; }

  private:
    int stepped(int order, int direction, int &position) const;
    void makeRandomOrder();
    int clamped(int index) const;

    SlideSource m_source;
    int m_count = 0;
    int m_position = 0;
    int m_current = 0;
    UnitRandom m_random;
    std::vector<int> m_randomOrder;
};

// Where a show over `names` starts: the entry named `currentName`, else the lowest index.
int slideStartIndex(SlideSource source, const QStringList &names, const QString &currentName);

// The name an index stands for: folder mode from entry 0, list mode from entry 1 (the entry
// before the first counts as the first, one past the end as the last). Empty without names.
QString slideName(SlideSource source, const QStringList &names, int index);
