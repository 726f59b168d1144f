#include "exif/workfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "exif/descriptor.h"

namespace
{

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool writeFully(int fd, QByteArrayView bytes)
{
    const char *p = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += written;
        left -= written;
    }
    return true;
}

} // namespace

StepError StepError::fromErrno(int error, const QString &what)
{
    return {true, error,
            what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error))};
}

StepError readWholeFile(const QString &path, QByteArray &data, qint64 largest)
{
    // Not blocking: a pipe put in a picture's place must fail, not wait for a writer.
    Descriptor file(::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return StepError::fromErrno(errno, path);
    struct stat info {
    };
    if (::fstat(file.get(), &info) != 0)
        return StepError::fromErrno(errno, path);
    if (!S_ISREG(info.st_mode))
        return StepError::because(path + QStringLiteral(": not a regular file"));
    if (info.st_size > largest)
        return StepError::because(path + QStringLiteral(": too large to be a picture"));
    data.resize(qsizetype(info.st_size));
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(file.get(), data.data() + done, size_t(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return StepError::fromErrno(errno, path);
        if (got == 0)
            break; // the file shrank while being read: keep what is there
        done += got;
    }
    data.truncate(qsizetype(done));
    return StepError::none();
}

StepError writeNewFile(const QString &path, const QList<QByteArrayView> &pieces, FileSync sync,
                       unsigned permissions)
{
    Descriptor file(::open(nativePath(path).constData(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, permissions));
    if (file.get() < 0)
        return StepError::fromErrno(errno, path);
    // The creation mode is filtered by the umask; the caller asked for these bits.
    if (::fchmod(file.get(), permissions) != 0)
        return StepError::fromErrno(errno, path);
    for (const QByteArrayView piece : pieces) {
        if (!writeFully(file.get(), piece))
            return StepError::fromErrno(errno, path);
    }
    if (sync == FileSync::Yes && ::fsync(file.get()) != 0)
        return StepError::fromErrno(errno, path);
    if (file.release() != 0)
        return StepError::fromErrno(errno, path);
    return StepError::none();
}

StepError patchFile(const QString &path, qint64 offset, QByteArrayView bytes, FileSync sync)
{
    Descriptor file(::open(nativePath(path).constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    if (file.get() < 0)
        return StepError::fromErrno(errno, path);
    if (::pwrite(file.get(), bytes.data(), size_t(bytes.size()), off_t(offset)) != bytes.size())
        return StepError::fromErrno(errno ? errno : EIO, path);
    if (sync == FileSync::Yes && ::fsync(file.get()) != 0)
        return StepError::fromErrno(errno, path);
    if (file.release() != 0)
        return StepError::fromErrno(errno, path);
    return StepError::none();
}

StepError fileSize(const QString &path, qint64 &size)
{
    struct stat info {
    };
    if (::stat(nativePath(path).constData(), &info) != 0)
        return StepError::fromErrno(errno, path);
    size = info.st_size;
    return StepError::none();
}

StepError syncFolder(const QString &folder)
{
    Descriptor dir(::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return StepError::fromErrno(errno, folder);
    if (::fsync(dir.get()) != 0 && errno != EINVAL)
        return StepError::fromErrno(errno, folder);
    return StepError::none();
}

StepError linkFile(const QString &path, const QString &link)
{
    if (::link(nativePath(path).constData(), nativePath(link).constData()) != 0)
        return StepError::fromErrno(errno, link);
    return StepError::none();
}

bool hasNoHardLinks(int linkError)
{
    return linkError == EPERM || linkError == EOPNOTSUPP || linkError == EMLINK ||
           linkError == ENOSYS;
}

StepError renameFile(const QString &from, const QString &to)
{
    if (::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        return StepError::fromErrno(errno, from);
    return StepError::none();
}

namespace
{

bool sameFile(const QByteArray &first, const QByteArray &second)
{
    struct stat a {
    }, b{};
    return ::lstat(first.constData(), &a) == 0 && ::lstat(second.constData(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Two links to one file also share an inode; only a case-blind name is the same entry.
bool differOnlyInCase(const QString &from, const QString &to)
{
    return from != to && from.compare(to, Qt::CaseInsensitive) == 0;
}

bool refusesNoReplaceFlag(int renameError)
{
    return renameError == EINVAL || renameError == ENOSYS || renameError == EOPNOTSUPP;
}

// A second name, then the old one removed; the second name is taken back if the old one stays.
int renameByLink(const QByteArray &source, const QByteArray &target)
{
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    if (::unlink(source.constData()) != 0) {
        const int unlinkError = errno;
        ::unlink(target.constData());
        return unlinkError;
    }
    return 0;
}

int renameAfterCheck(const QByteArray &source, const QByteArray &target)
{
    struct stat taken {
    };
    if (::lstat(target.constData(), &taken) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

int renameWithoutFlag(const QByteArray &source, const QByteArray &target)
{
    const int linkError = renameByLink(source, target);
    if (linkError == 0 || linkError == EEXIST || !hasNoHardLinks(linkError))
        return linkError;
    return renameAfterCheck(source, target);
}

} // namespace

StepError renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = nativePath(from);
    const QByteArray target = nativePath(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return StepError::none();
    int error = errno;
    if (refusesNoReplaceFlag(error))
        error = renameWithoutFlag(source, target);
    else if (error == EEXIST && differOnlyInCase(from, to) && sameFile(source, target))
        error = ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
    return error == 0 ? StepError::none() : StepError::fromErrno(error, to);
}

StepError createExclusive(const QString &path, unsigned permissions)
{
    Descriptor file(::open(nativePath(path).constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions));
    if (file.get() < 0)
        return StepError::fromErrno(errno, path);
    if (file.release() != 0)
        return StepError::fromErrno(errno, path);
    return StepError::none();
}

StepError settleLike(const QString &path, const QString &model)
{
    struct stat like {
    };
    if (::stat(nativePath(model).constData(), &like) != 0)
        return StepError::fromErrno(errno, model);
    Descriptor file(::open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (file.get() < 0)
        return StepError::fromErrno(errno, path);
    // Only root may give a file away; anyone else keeps owning the new file.
    if (::geteuid() == 0 && ::fchown(file.get(), like.st_uid, like.st_gid) != 0)
        return StepError::fromErrno(errno, path);
    if (::fchmod(file.get(), like.st_mode & 07777) != 0 || ::fsync(file.get()) != 0)
        return StepError::fromErrno(errno, path);
    if (file.release() != 0)
        return StepError::fromErrno(errno, path);
    return StepError::none();
}

StepError removeFile(const QString &path)
{
    if (::unlink(nativePath(path).constData()) != 0 && errno != ENOENT)
        return StepError::fromErrno(errno, path);
    return StepError::none();
}
