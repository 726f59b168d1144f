#include "platform/hiddenlist.h"

#include <algorithm>
#include <cerrno>

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace
{
// A list file larger than this is not a list of names; leave it alone.
constexpr qint64 maximumListSize = 16 * 1024 * 1024;
// An edit takes milliseconds; a lock older than this was left by a crash.
constexpr int staleLockMilliseconds = 10000;
constexpr int lockWaitMilliseconds = 2000;

QString listPathOf(const QString &folder)
{
    return folder + QStringLiteral("/.hidden");
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
} // namespace

bool isDotName(const QString &name)
{
    return name.startsWith(u'.');
}

FileError HiddenList::load(const QString &folder)
{
    m_folder = folder;
    m_lines.clear();
    QFile file(listPathOf(folder));
    if (!file.exists())
        return FileError();
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return lastError();
    if (file.size() > maximumListSize)
        return fileError(FileErrorNumber::PathFileAccess,
                         QStringLiteral("%1 is too large").arg(file.fileName()));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fileError(FileErrorNumber::DeviceIoError, file.errorString());
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
    if (contains(name))
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
    if (std::all_of(m_lines.begin(), m_lines.end(), isBlank)) {
        if (QFile::exists(path) && !QFile::remove(path))
            return lastError();
        return FileError();
    }
    const bool isNew = !QFile::exists(path);
    // QSaveFile writes a uniquely named file beside the list, syncs it to disk
    // and renames it over the list on commit; it never writes in place.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return lastError();
    if (isNew)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
    for (const QByteArray &line : m_lines) {
        file.write(line);
        file.write("\n", 1);
    }
    errno = 0;
    if (!file.commit())
        return lastError();
    return FileError();
}

FileError editHiddenList(const QString &folder, const std::function<bool(HiddenList &)> &change)
{
    HiddenList probe;
    if (FileError error = probe.load(folder); !error.ok())
        return error;
    if (!change(probe))
        return FileError();

    QLockFile lock(listPathOf(folder) + QStringLiteral(".lock"));
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
