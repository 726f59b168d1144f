#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "core/errorlog.h"

// Which pictures a scan lists, by the hidden attribute (gVisibleMode).
enum class VisibleMode { All = 0, PublicOnly = 1, PrivateOnly = 2 };

// gVisibleMode as stored; any value other than 1 or 2 lists everything.
VisibleMode visibleModeFromSetting(int gVisibleMode);

// Answers whether the file `name` of the folder being listed is private. The
// caller builds it for that folder (the folder's ".hidden" plus dot-names).
using HiddenTest = std::function<bool(const QString &name)>;

// The "*.jpg" files of one folder, as the folder scan enumerates them.
struct FolderListing {
    bool ok = false;    // false: the folder could not be read; see error
    ErrorRecord error;  // why the folder could not be read
    QString folderPath; // the folder as enumerated, without trailing "/" except "/"
    int total = 0;      // every "*.jpg" file of the folder, private or not
    QStringList names;  // the files the visible mode lets through, in name order
    // "*.jpg" files left out because their names are not valid UTF-8: no path made of the
    // decoded name would reach them, so they are told as a count instead.
    int undecodable = 0;
};

// Enumerates the regular files (or links to them) of `folder` whose names end
// in ".jpg" without regard to case, sorted by name without regard to case
// (names equal but for case keep a fixed order), then filtered by `mode`.
FolderListing listJpegFiles(const QString &folder, VisibleMode mode, const HiddenTest &isHidden);

// The name order of the listing: case-insensitive, ties broken by the exact text.
bool jpegNameLess(const QString &a, const QString &b);
