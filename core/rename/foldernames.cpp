#include "core/rename/foldernames.h"

#include <cerrno>
#include <sys/stat.h>

#include <QFile>

#include "exif/workfile.h"

StepError FolderNames::rename(const QString &from, const QString &to)
{
    return renameNoReplace(pathOf(from), pathOf(to));
}

StepError PlannedFolderNames::rename(const QString &from, const QString &to)
{
    if (isTaken(to))
        return StepError::fromErrno(EEXIST, pathOf(to));
    m_taken.remove(from);
    m_freed.insert(from);
    m_freed.remove(to);
    m_taken.insert(to);
    return StepError::none();
}

bool PlannedFolderNames::isTaken(const QString &name) const
{
    if (m_taken.contains(name))
        return true;
    if (m_freed.contains(name))
        return false;
    struct stat entry {
    };
    return ::lstat(QFile::encodeName(pathOf(name)).constData(), &entry) == 0;
}
