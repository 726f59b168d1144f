#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/fileerror.h"

// One attribute word per file, as the pictures' original platform kept it.
namespace FileAttribute
{
constexpr int ReadOnly = 1;   // no write permission bits
constexpr int Hidden = 2;     // listed in the folder's ".hidden", or a dot-name
constexpr int Directory = 16; // reported only; setting it changes nothing
} // namespace FileAttribute

// Reads the attribute word of `path`. A missing file is error 53.
FileError getAttributes(const QString &path, int &attrs);

// Sets the read-only and hidden bits of `path` to those of `attrs`; other
// bits are ignored and other mode bits stay. Read-only removes every write
// bit; clearing it gives the owner write back. Hidden edits the folder's
// ".hidden". Making a dot-name public is error 75; a missing file error 53.
FileError setAttributes(const QString &path, int attrs);

// Why the hidden bit of `path` cannot be set (`hidden` true) or cleared as asked: the errors of
// setAttributes found before any edit (a missing file 53, a dot-name made public 75, a name
// with a line break 52); success when it can be tried.
FileError checkHiddenMark(const QString &path, bool hidden);

// Gives `to` the read-only and hidden bits of `from` (both must exist), after
// a copy or a rebuilt file. For a rename or move, where `from` is gone
// afterwards: read its word before, then setAttributes(to, word) and
// forgetHiddenEntry(from).
FileError copyAttributes(const QString &from, const QString &to);

// Lists the name of `path` in its folder's ".hidden" before a private picture arrives there (a
// copy or a move), so that it is never public on the way; the file need not exist yet. `listed`
// tells whether a line was added, to be forgotten again when the picture did not arrive.
FileError listPrivateAhead(const QString &path, bool &listed);

// Removes the ".hidden" line of a file that was deleted or moved away.
// Nothing to remove is success.
FileError forgetHiddenEntry(const QString &path);

// Sets only the hidden bit of many files, with one edit of each folder's
// list instead of one per file (a selection of hundreds stays quick).
// Returns one result per path, in order, with the errors of setAttributes.
QList<FileError> setHiddenMarks(const QStringList &paths, bool hidden);
