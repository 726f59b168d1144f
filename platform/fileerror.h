#pragma once

#include <QString>

#include "exif/steperror.h"

// The file error numbers the program tells apart.
namespace FileErrorNumber
{
constexpr int InvalidCall = 5;        // e.g. an empty command
constexpr int BadFileName = 52;       // EINVAL, ENAMETOOLONG, refused characters
constexpr int FileNotFound = 53;      // ENOENT, ENOTDIR
constexpr int DeviceIoError = 57;     // EIO
constexpr int FileAlreadyExists = 58; // EEXIST, ENOTEMPTY
constexpr int DiskFull = 61;          // ENOSPC, EDQUOT
constexpr int PathFileAccess = 75;    // EACCES, EPERM, EROFS, EBUSY, ETXTBSY and the rest
} // namespace FileErrorNumber

// The result of a file operation: number 0 means success.
struct FileError {
    int number = 0;
    QString description;

    bool ok() const { return number == 0; }
};

// Maps an errno value to its error number, with the system's text for it
// (strerror) as the description. errno 0 gives success.
FileError fileErrorFromErrno(int err);

// An error of the given number with the given text.
FileError fileError(int number, const QString &description);

// Error 52 when `name` (a bare file or folder name) is empty or holds a
// character refused in new names: \ / : , ; * ? " < > | or NUL.
FileError checkNewFileName(const QString &name);

// The error of a failed file step: the number a lower layer chose, else that of its errno,
// else 5 (a step that failed without a system error). A step that did not fail is success.
FileError fileErrorOf(const StepError &step);
