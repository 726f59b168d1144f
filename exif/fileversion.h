#pragma once

#include <sys/stat.h>

#include <QString>

#include "exif/steperror.h"

// What identifies one version of a file: a replaced or rewritten file differs.
// A run that reads a picture ahead of its turn compares the two versions to
// know whether what it built still belongs to the picture.
struct FileVersion {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;

    bool sameAs(const FileVersion &other) const
    {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

// The version of the file at path, following a link. A missing file fails and
// leaves version as it was.
StepError statFile(const QString &path, FileVersion &version);
