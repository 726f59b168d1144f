#pragma once

#include <limits>
#include <utility>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include "exif/steperror.h"

// Plain file steps that report the system's errno, for writers that must say
// exactly what failed. Paths are converted with QFile::encodeName.

enum class FileSync { No, Yes };

// Reads the whole regular file at path into data.
// Far above any camera's picture: a larger file named like one (a video, a disk image) is
// refused by the readers of pictures rather than read into memory.
constexpr qint64 kLargestPictureFile = qint64(1) << 30;

// A file larger than `largest` bytes is refused before anything is allocated.
StepError readWholeFile(const QString &path, QByteArray &data,
                        qint64 largest = std::numeric_limits<qint64>::max());

// Creates path (replacing a file of that name, never following a link at it)
// with the given permission bits and writes the pieces one after another.
// With FileSync::Yes the data reaches the disk before the call returns.
StepError writeNewFile(const QString &path, const QList<QByteArrayView> &pieces, FileSync sync,
                       unsigned permissions = 0600);

// Overwrites bytes of an existing file at offset; with FileSync::Yes the file
// reaches the disk before the call returns.
StepError patchFile(const QString &path, qint64 offset, QByteArrayView bytes,
                    FileSync sync = FileSync::No);

// The size of the file at path as the file system reports it.
StepError fileSize(const QString &path, qint64 &size);

// Makes the folder's entries (renames, new names) durable.
StepError syncFolder(const QString &folder);

// Gives the file at path the second name `link` (a hard link); an existing
// `link` is never replaced.
StepError linkFile(const QString &path, const QString &link);

// Whether a link error means the file system has no hard links (FAT, some network shares, FUSE
// ones such as sshfs and MTP), so that a backup has to be made another way.
bool hasNoHardLinks(int linkError);

// Renames from to the name to in one step, replacing a file of that name.
StepError renameFile(const QString &from, const QString &to);

// Renames from to the name to, never replacing anything there (a file, a folder, a broken link),
// also when it appears between a check and the rename: a taken name fails with EEXIST. File
// systems that cannot refuse a replacement themselves get a second name and the old one removed;
// only where even that is missing is the name checked just before a plain rename. A name that
// differs only in case on a case-blind file system is the same file and is renamed.
StepError renameNoReplace(const QString &from, const QString &to);

// Creates an empty file at path that did not exist before (never a link or a
// file someone else made there).
StepError createExclusive(const QString &path, unsigned permissions = 0600);

// Gives the file at path the permission bits of the file at model (and its
// owner, where the caller may give files away), and puts it on disk.
StepError settleLike(const QString &path, const QString &model);

// Removes the file at path; a file that is already gone is success.
StepError removeFile(const QString &path);

// A work file that belongs to one item of a run: removed when its owner lets
// go of it, whether it was used or thrown away. A file that was renamed to its
// place meanwhile is simply not found then.
class OwnedWorkFile
{
  public:
    OwnedWorkFile() = default;
    explicit OwnedWorkFile(const QString &path) : m_path(path) {}
    ~OwnedWorkFile() { removeIfOwned(); }
    OwnedWorkFile(OwnedWorkFile &&other) noexcept : m_path(std::exchange(other.m_path, {})) {}
    OwnedWorkFile &operator=(OwnedWorkFile &&other) noexcept
    {
        removeIfOwned();
        m_path = std::exchange(other.m_path, {});
        return *this;
    }
    OwnedWorkFile(const OwnedWorkFile &) = delete;
    OwnedWorkFile &operator=(const OwnedWorkFile &) = delete;

    const QString &path() const { return m_path; }

  private:
    void removeIfOwned()
    {
        if (!m_path.isEmpty())
            removeFile(m_path);
    }

    QString m_path;
};
