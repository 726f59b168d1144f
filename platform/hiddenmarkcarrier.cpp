#include "platform/hiddenmarkcarrier.h"

namespace
{

// Lists `to` as private exactly when `from` was, and forgets `from`; whether a line changed.
bool moveEntry(HiddenList &list, const QString &from, const QString &to, bool wasPrivate)
{
    bool changed = list.remove(from);
    if (wasPrivate && !isDotName(to))
        changed |= list.add(to);
    else
        changed |= list.remove(to);
    return changed;
}

} // namespace

HiddenMarkCarrier::HiddenMarkCarrier(const QString &folder)
    : m_folder(folder), m_loadError(m_list.load(folder))
{
}

FileError HiddenMarkCarrier::carry(const QString &from, const QString &to)
{
    if (!m_loadError.ok())
        return m_loadError;
    const bool wasPrivate = isDotName(from) || m_list.contains(from);
    if (!moveEntry(m_list, from, to, wasPrivate))
        return FileError();
    return editHiddenList(m_folder,
                          [&](HiddenList &list) { return moveEntry(list, from, to, wasPrivate); });
}
