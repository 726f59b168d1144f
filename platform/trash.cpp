#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/fileattributes.h"

namespace
{
FileError cannotTrash()
{
    return fileError(FileErrorNumber::PathFileAccess, QStringLiteral("ごみ箱に移動できません。"));
}
} // namespace

FileError moveToTrash(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return fileError(FileErrorNumber::FileNotFound,
                         QStringLiteral("ファイルが見つかりません。"));
    // The user's trash lives in the data folder; Qt does not create it.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString pathInTrash;
    if (!QFile::moveToTrash(path, &pathInTrash))
        return cannotTrash();
    // When Qt cannot set up a trash folder it may still move the file, into
    // "files/" under the current folder: put it back rather than lose it.
    if (QFileInfo(pathInTrash).isRelative()) {
        QFile::rename(pathInTrash, path);
        return cannotTrash();
    }
    // The file is gone from its folder; a stale hidden mark would only
    // confuse a later file of the same name, and the move itself succeeded.
    forgetHiddenEntry(path);
    return FileError();
}
