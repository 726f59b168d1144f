#include "platform/trash.h"

#include <QFile>
#include <QFileInfo>

#include "platform/fileattributes.h"

FileError moveToTrash(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return fileError(FileErrorNumber::FileNotFound,
                         QStringLiteral("ファイルが見つかりません。"));
    QFile file(path);
    if (!file.moveToTrash())
        return fileError(FileErrorNumber::PathFileAccess, file.errorString());
    // The file is gone from its folder; a stale hidden mark would only
    // confuse a later file of the same name, and the move itself succeeded.
    forgetHiddenEntry(path);
    return FileError();
}
