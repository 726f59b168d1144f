#include "core/fileops/workcopy.h"

#include <cerrno>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "exif/descriptor.h"

namespace
{

// Whether a kernel copy call cannot serve this pair of files at all (as opposed to failing).
bool copyCallUnsupported(int error)
{
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL;
}

// Copies `size` bytes from the start of `source` to `target`, in the kernel. Returns 0 or errno.
int kernelCopy(int source, int target, off_t size)
{
    if (::ioctl(target, FICLONE, source) == 0)
        return 0;
    off_t done = 0;
    bool useCopyRange = true;
    while (done < size) {
        ssize_t copied = -1;
        if (useCopyRange) {
            copied = ::copy_file_range(source, nullptr, target, nullptr, size_t(size - done), 0);
            if (copied < 0 && done == 0 && copyCallUnsupported(errno)) {
                useCopyRange = false;
                continue;
            }
        } else {
            copied = ::sendfile(target, source, nullptr, size_t(size - done));
        }
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied < 0)
            return errno;
        if (copied == 0)
            return EIO; // the source shrank while it was copied
        done += copied;
    }
    return 0;
}

// Gives the finished copy the source's mode and times, and puts it on disk when asked.
// Returns 0 or errno.
int settleCopy(int target, const struct stat &source, FileSync sync)
{
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (::fchmod(target, source.st_mode & 0777) != 0 || ::futimens(target, times) != 0 ||
        (sync == FileSync::Yes && ::fsync(target) != 0))
        return errno;
    return 0;
}

StepError copyOpened(int source, const QString &from, const QString &folder, FileSync sync,
                     QString &workPath)
{
    struct stat info {
    };
    if (::fstat(source, &info) != 0)
        return StepError::fromErrno(errno, from);
    if (!S_ISREG(info.st_mode))
        return StepError::fromErrno(EINVAL, from + QStringLiteral(": not a regular file"));
    QByteArray pattern = QFile::encodeName(folder) + "/.tabilo-copy-XXXXXX";
    Descriptor target(::mkostemp(pattern.data(), O_CLOEXEC));
    if (target.get() < 0)
        return StepError::fromErrno(errno, folder);
    const QString path = QFile::decodeName(pattern);
    int error = kernelCopy(source, target.get(), info.st_size);
    if (error == 0)
        error = settleCopy(target.get(), info, sync);
    if (target.release() != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(pattern.constData());
        return StepError::fromErrno(error, path);
    }
    workPath = path;
    return StepError::none();
}

} // namespace

StepError copyToWorkFile(const QString &from, const QString &folder, FileSync sync,
                         QString &workPath)
{
    Descriptor source(
        ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (source.get() < 0)
        return StepError::fromErrno(errno, from);
    return copyOpened(source.get(), from, folder, sync, workPath);
}
