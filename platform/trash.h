#pragma once

#include <QString>

#include "platform/fileerror.h"

// Moves the file to the desktop's trash (freedesktop trash) and drops its
// ".hidden" line. A missing file is error 53; a file that cannot be trashed
// (no trash on its file system, no permission) is error 75 and stays put.
FileError moveToTrash(const QString &path);
