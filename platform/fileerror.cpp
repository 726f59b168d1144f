#include "platform/fileerror.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace
{
int errorNumberOf(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FileErrorNumber::FileNotFound;
    case EEXIST:
    case ENOTEMPTY:
        return FileErrorNumber::FileAlreadyExists;
    case EINVAL:
    case ENAMETOOLONG:
        return FileErrorNumber::BadFileName;
    case EIO:
        return FileErrorNumber::DeviceIoError;
    case ENOSPC:
    case EDQUOT:
        return FileErrorNumber::DiskFull;
    default:
        // EACCES, EPERM, EROFS, EBUSY, ETXTBSY and whatever else keeps the
        // file out of reach.
        return FileErrorNumber::PathFileAccess;
    }
}
} // namespace

FileError fileErrorFromErrno(int err)
{
    if (err == 0)
        return FileError();
    return FileError{errorNumberOf(err), QString::fromLocal8Bit(std::strerror(err))};
}

FileError fileError(int number, const QString &description)
{
    return FileError{number, description};
}

FileError checkNewFileName(const QString &name)
{
    static const QString refused = QStringLiteral("\\/:,;*?\"<>|");
    const bool bad =
        name.isEmpty() || name.contains(QChar(u'\0')) ||
        std::any_of(name.begin(), name.end(), [](QChar c) { return refused.contains(c); });
    if (bad)
        return FileError{FileErrorNumber::BadFileName,
                         QStringLiteral("ファイル名が正しくありません。")};
    return FileError();
}

FileError fileErrorOf(const StepError &step)
{
    if (!step.failed)
        return FileError();
    if (step.number != 0)
        return FileError{step.number, step.description};
    if (step.systemError != 0)
        return FileError{fileErrorFromErrno(step.systemError).number, step.description};
    return FileError{FileErrorNumber::InvalidCall, step.description};
}
