#include "platform/hiddenlist.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QLockFile>

#include "exif/descriptor.h"
#include "exif/workfile.h"

namespace
{
// A list file larger than this is not a list of names; leave it alone.
constexpr qint64 maximumListSize = 16 * 1024 * 1024;
// An edit takes milliseconds; a lock older than this was left by a crash.
constexpr int staleLockMilliseconds = 10000;
constexpr int lockWaitMilliseconds = 2000;

QString listPathOf(const QString &folder)
{
    return folder.endsWith(u'/') ? folder + QStringLiteral(".hidden")
                                 : folder + QStringLiteral("/.hidden");
}

// Lines may end in CR when the file was written elsewhere.
QByteArray nameOfLine(const QByteArray &line)
{
    return line.endsWith('\r') ? line.chopped(1) : line;
}

bool isBlank(const QByteArray &line)
{
    return nameOfLine(line).trimmed().isEmpty();
}

FileError lastError()
{
    const int err = errno;
    return fileErrorFromErrno(err != 0 ? err : EACCES);
}

// A list, or its lock, that is not a regular file is left alone: reading a FIFO would wait
// forever and writing through a link would change the file it points to.
FileError checkRegularOrMissing(const QString &path, struct stat &info)
{
    info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileError();
        return lastError();
    }
    if (!S_ISREG(info.st_mode))
        return fileError(
            FileErrorNumber::PathFileAccess,
            QStringLiteral("%1 は通常のファイルではないため、読み書きしません。").arg(path));
    return FileError();
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        done += written;
    }
    return true;
}

// Writes the content to a new uniquely named file beside the list, puts it on disk and renames
// it over the list: never a write in place, never through a link.
FileError replaceListFile(const QString &path, const QByteArray &content, mode_t mode)
{
    QByteArray work = QFile::encodeName(path) + ".XXXXXX";
    Descriptor file(::mkostemp(work.data(), O_CLOEXEC));
    if (file.get() < 0)
        return lastError();
    errno = 0;
    const bool written = ::fchmod(file.get(), mode) == 0 && writeAll(file.get(), content) &&
                         ::fsync(file.get()) == 0 && file.release() == 0;
    const FileError error =
        written ? fileErrorOf(renameFile(QFile::decodeName(work), path)) : lastError();
    if (!error.ok())
        ::unlink(work.constData());
    return error;
}
} // namespace

bool isDotName(const QString &name)
{
    return name.startsWith(u'.');
}

FileError checkHiddenListName(const QString &name)
{
    if (name.contains(u'\n') || name.contains(u'\r'))
        return fileError(FileErrorNumber::BadFileName,
                         QStringLiteral("改行を含む名前は .hidden に記録できません。"));
    return FileError();
}

FileError checkHiddenListFile(const QString &folder)
{
    struct stat info;
    return checkRegularOrMissing(listPathOf(folder), info);
}

FileError HiddenList::load(const QString &folder)
{
    m_folder = folder;
    m_lines.clear();
    const QString path = listPathOf(folder);
    struct stat info;
    if (FileError error = checkRegularOrMissing(path, info); !error.ok())
        return error;
    if (info.st_mode == 0)
        return FileError(); // no list: nothing is private by it
    if (info.st_size > maximumListSize)
        return fileError(FileErrorNumber::PathFileAccess,
                         QStringLiteral("%1 is too large").arg(path));
    // Opened without blocking and checked again once open: a FIFO put in its place meanwhile
    // fails instead of hanging the caller.
    QByteArray content;
    if (FileError error = fileErrorOf(readWholeFile(path, content, maximumListSize)); !error.ok())
        return error;
    m_lines = content.split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast(); // the final line break
    return FileError();
}

bool HiddenList::contains(const QString &name) const
{
    const QByteArray encoded = QFile::encodeName(name);
    for (const QByteArray &line : m_lines) {
        if (nameOfLine(line) == encoded)
            return true;
    }
    return false;
}

bool HiddenList::add(const QString &name)
{
    if (!checkHiddenListName(name).ok() || contains(name))
        return false;
    m_lines.append(QFile::encodeName(name));
    return true;
}

bool HiddenList::remove(const QString &name)
{
    const QByteArray encoded = QFile::encodeName(name);
    const qsizetype removed =
        m_lines.removeIf([&](const QByteArray &line) { return nameOfLine(line) == encoded; });
    return removed > 0;
}

FileError HiddenList::save() const
{
    if (m_folder.isEmpty())
        return fileError(FileErrorNumber::InvalidCall, QStringLiteral("no folder was loaded"));
    const QString path = listPathOf(m_folder);
    struct stat info;
    if (FileError error = checkRegularOrMissing(path, info); !error.ok())
        return error;
    const bool exists = info.st_mode != 0;
    if (std::all_of(m_lines.begin(), m_lines.end(), isBlank)) {
        if (exists && ::unlink(QFile::encodeName(path).constData()) != 0)
            return lastError();
        return FileError();
    }
    QByteArray content;
    for (const QByteArray &line : m_lines)
        content += line + '\n';
    return replaceListFile(path, content, exists ? info.st_mode & 07777 : 0644);
}

FileError editHiddenList(const QString &folder, const std::function<bool(HiddenList &)> &change)
{
    HiddenList probe;
    if (FileError error = probe.load(folder); !error.ok())
        return error;
    if (!change(probe))
        return FileError();

    const QString lockPath = listPathOf(folder) + QStringLiteral(".lock");
    struct stat lockInfo;
    if (FileError error = checkRegularOrMissing(lockPath, lockInfo); !error.ok())
        return error;
    QLockFile lock(lockPath);
    lock.setStaleLockTime(staleLockMilliseconds);
    errno = 0;
    if (!lock.tryLock(lockWaitMilliseconds)) {
        if (lock.error() == QLockFile::LockFailedError)
            return fileError(
                FileErrorNumber::PathFileAccess,
                QStringLiteral("%1 は他のプログラムが編集中です。").arg(listPathOf(folder)));
        return lastError();
    }
    // Read again under the lock: another process may have changed it.
    HiddenList list;
    if (FileError error = list.load(folder); !error.ok())
        return error;
    return change(list) ? list.save() : FileError();
}
