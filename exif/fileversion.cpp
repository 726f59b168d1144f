#include "exif/fileversion.h"

#include <cerrno>

#include <QFile>

StepError statFile(const QString &path, FileVersion &version)
{
    struct stat info {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return StepError::fromErrno(errno, path);
    version = {info.st_dev,  info.st_ino, info.st_size, info.st_mtim,
               info.st_mode, info.st_uid, info.st_gid};
    return StepError::none();
}
