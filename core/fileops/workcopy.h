#pragma once

#include <QString>

#include "exif/steperror.h"
#include "exif/workfile.h"

// Copies `from` whole into a new work file with a hidden unique name inside `folder`: the same
// bytes, permission bits and modification time, with FileSync::Yes on disk before the call
// returns. The kernel
// copies (a reflink where the file system shares blocks, else copy_file_range or sendfile), so
// no data passes through this process. Only regular files are copied; a FIFO or device is
// refused without blocking. On failure no work file is left behind.
StepError copyToWorkFile(const QString &from, const QString &folder, FileSync sync,
                         QString &workPath);
