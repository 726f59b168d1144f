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

StepError stepErrorOf(const FileError &error)
{
    return StepError::numbered(error.number, error.description);
}

} // namespace

HiddenMarkCarrier::HiddenMarkCarrier(const QString &folder)
    : m_folder(folder), m_loadError(m_list.load(folder))
{
}

StepError HiddenMarkCarrier::rename(const QString &from, const QString &to,
                                    const std::function<StepError()> &renameEntry,
                                    StepError &markError)
{
    markError = StepError::none();
    if (!m_loadError.ok())
        return stepErrorOf(m_loadError);
    const bool wasPrivate = isDotName(from) || m_list.contains(from);
    const bool listAhead = wasPrivate && !isDotName(to) && !m_list.contains(to);
    if (listAhead) {
        if (FileError error = checkHiddenListName(to); !error.ok())
            return stepErrorOf(error);
        if (StepError error = edit([&](HiddenList &list) { return list.add(to); }); error.failed)
            return error;
    }
    const StepError renamed = renameEntry();
    if (renamed.failed) {
        if (listAhead)
            markError = edit([&](HiddenList &list) { return list.remove(to); });
        return renamed;
    }
    markError = edit([&](HiddenList &list) { return moveEntry(list, from, to, wasPrivate); });
    return renamed;
}

// Applies the change to the list in memory and, where it changed a line, to the folder's list
// on disk; after a failed edit the list is read again, so that it goes by the disk.
StepError HiddenMarkCarrier::edit(const std::function<bool(HiddenList &)> &change)
{
    if (!change(m_list))
        return StepError::none();
    const FileError error = editHiddenList(m_folder, change);
    if (!error.ok())
        m_loadError = m_list.load(m_folder);
    return stepErrorOf(error);
}
