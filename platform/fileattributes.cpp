#include "platform/fileattributes.h"

#include <cerrno>
#include <sys/stat.h>

#include <QFile>
#include <QHash>

#include "platform/hiddenlist.h"

namespace
{
constexpr mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;

struct PathParts {
    QString folder;
    QString name;
};

PathParts splitPath(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {QStringLiteral("."), path};
    return {slash == 0 ? QStringLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

FileError statPath(const QString &path, struct stat &info)
{
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return fileErrorFromErrno(errno);
    return FileError();
}

bool isListedHidden(const PathParts &parts)
{
    HiddenList list;
    // An unreadable list hides nothing, as in the file managers.
    return list.load(parts.folder).ok() && list.contains(parts.name);
}

FileError setHiddenEntry(const PathParts &parts, bool hidden)
{
    return editHiddenList(parts.folder, [&](HiddenList &list) {
        return hidden ? list.add(parts.name) : list.remove(parts.name);
    });
}

// Why the hidden bit of this file cannot be set as asked, if it cannot.
FileError checkHiddenChange(const QString &path, const PathParts &parts, bool hidden)
{
    struct stat info;
    if (FileError error = statPath(path, info); !error.ok())
        return error;
    if (isDotName(parts.name)) {
        if (hidden)
            return FileError();
        return fileError(FileErrorNumber::PathFileAccess,
                         QStringLiteral("\".\" で始まる名前のファイルは公開にできません。"));
    }
    return checkHiddenListName(parts.name);
}

FileError setReadOnly(const QString &path, mode_t mode, bool readOnly)
{
    const mode_t permissions = mode & 07777;
    mode_t wanted = permissions;
    if (readOnly)
        wanted &= ~writeBits;
    else if ((permissions & writeBits) == 0)
        wanted |= S_IWUSR;
    if (wanted == permissions)
        return FileError();
    if (::chmod(QFile::encodeName(path).constData(), wanted) != 0)
        return fileErrorFromErrno(errno);
    return FileError();
}
} // namespace

FileError getAttributes(const QString &path, int &attrs)
{
    attrs = 0;
    struct stat info;
    if (FileError error = statPath(path, info); !error.ok())
        return error;
    if ((info.st_mode & writeBits) == 0)
        attrs |= FileAttribute::ReadOnly;
    if (S_ISDIR(info.st_mode))
        attrs |= FileAttribute::Directory;
    const PathParts parts = splitPath(path);
    if (isDotName(parts.name) || isListedHidden(parts))
        attrs |= FileAttribute::Hidden;
    return FileError();
}

FileError setAttributes(const QString &path, int attrs)
{
    const PathParts parts = splitPath(path);
    const bool hidden = attrs & FileAttribute::Hidden;
    if (FileError error = checkHiddenChange(path, parts, hidden); !error.ok())
        return error;
    if (!isDotName(parts.name)) {
        if (FileError error = setHiddenEntry(parts, hidden); !error.ok())
            return error;
    }
    struct stat info;
    if (FileError error = statPath(path, info); !error.ok())
        return error;
    return setReadOnly(path, info.st_mode, attrs & FileAttribute::ReadOnly);
}

FileError copyAttributes(const QString &from, const QString &to)
{
    int attrs = 0;
    if (FileError error = getAttributes(from, attrs); !error.ok())
        return error;
    if (isDotName(splitPath(to).name))
        attrs |= FileAttribute::Hidden; // a dot-name stays hidden whatever it came from
    return setAttributes(to, attrs);
}

FileError listPrivateAhead(const QString &path, bool &listed)
{
    listed = false;
    const PathParts parts = splitPath(path);
    if (isDotName(parts.name))
        return FileError();
    if (FileError error = checkHiddenListName(parts.name); !error.ok())
        return error;
    return editHiddenList(parts.folder,
                          [&](HiddenList &list) { return listed = list.add(parts.name); });
}

FileError forgetHiddenEntry(const QString &path)
{
    const PathParts parts = splitPath(path);
    if (isDotName(parts.name))
        return FileError();
    return setHiddenEntry(parts, false);
}

FileError checkHiddenMark(const QString &path, bool hidden)
{
    return checkHiddenChange(path, splitPath(path), hidden);
}

QList<FileError> setHiddenMarks(const QStringList &paths, bool hidden)
{
    QList<FileError> results(paths.size());
    QHash<QString, QList<qsizetype>> listedByFolder; // indices of names to edit
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const PathParts parts = splitPath(paths[i]);
        results[i] = checkHiddenChange(paths[i], parts, hidden);
        if (results[i].ok() && !isDotName(parts.name))
            listedByFolder[parts.folder].append(i);
    }
    for (auto folder = listedByFolder.cbegin(); folder != listedByFolder.cend(); ++folder) {
        const FileError error = editHiddenList(folder.key(), [&](HiddenList &list) {
            bool changed = false;
            for (const qsizetype i : folder.value()) {
                const QString name = splitPath(paths[i]).name;
                changed |= hidden ? list.add(name) : list.remove(name);
            }
            return changed;
        });
        for (const qsizetype i : folder.value())
            results[i] = error;
    }
    return results;
}
