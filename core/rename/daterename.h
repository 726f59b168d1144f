#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "exif/steperror.h"

class FolderNames;

// Renames pictures to their shooting date and time ("20030517_140209.jpg"), so that a folder
// sorts by when its pictures were taken. Pictures of the same second take "_1", "_2" ... in
// list order; a picture that already has its name keeps it, so a second run changes nothing.
// Files without an Exif header or without a whole shooting date are left alone. Only the
// header of each file is read, never its picture data.

struct DateRenamePorts {
    // Before the rename of the picture at `index` (0-based) of the list; not called for the
    // pictures left alone. The place to move a progress bar.
    std::function<void(int index)> progress;
    // The picture at `index` now has the name `newName`.
    std::function<void(int index, const QString &newName)> renamed;
    // Each rename: runs `rename` with the private mark kept on disk at every moment (the new
    // name listed before, the old one dropped after) and returns its result; a mark that could
    // not be tidied afterwards is told in `markError`. May be empty (a dry run): `rename` alone.
    std::function<StepError(const QString &from, const QString &to,
                            const std::function<StepError()> &rename, StepError &markError)>
        keepMark;
    // A rename (or the carried mark) that failed, under its place label; the picture keeps
    // its name and the run goes on.
    std::function<void(const QString &label, const StepError &error)> log;
};

// The run over the pictures `names` of `folder` (ending in "/"), in list order, through
// `entries` (the disk, or a plan for a dry run). Returns how many pictures were renamed.
int renameToShootingDate(const QString &folder, const QStringList &names, FolderNames &entries,
                         const DateRenamePorts &ports);
