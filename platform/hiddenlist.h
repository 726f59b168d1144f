#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/fileerror.h"

// The ".hidden" file of one folder: the names (one per line, UTF-8) that file
// managers and file choosers do not show. A scan can load it once and ask for
// each name. Saving writes a new file beside it (private unique name, fsync)
// and renames it over the old one, so a crash never leaves it truncated and a
// link put at its name is replaced, never followed; a list left empty removes
// the file. A ".hidden" that is not a regular file (a link, FIFO, folder or
// device) is neither read nor written: loading it is refused.
class HiddenList
{
  public:
    // Reads folder/.hidden. A missing file is an empty list; a file that
    // exists but cannot be read is an error (so it is never overwritten).
    FileError load(const QString &folder);

    bool contains(const QString &name) const;
    // Both return whether the list changed. A name that cannot be a line is never added.
    bool add(const QString &name);
    bool remove(const QString &name);

    // Writes the list back to the folder last loaded (error 5 before any load).
    FileError save() const;

  private:
    QString m_folder;
    QList<QByteArray> m_lines; // kept as read, so other entries stay byte for byte
};

// Loads the list of `folder`, applies `change` (which returns whether it
// changed the list) and saves it. The edit holds a lock file beside the list
// (".hidden.lock") so that two Tabilo processes never lose each other's edit;
// a change that changes nothing takes no lock and writes nothing.
FileError editHiddenList(const QString &folder, const std::function<bool(HiddenList &)> &change);

// True when `name` begins with "." (always hidden, cannot be made public).
bool isDotName(const QString &name);

// Error 52 when `name` cannot be a line of the list: a line break (LF, or a CR, which a list
// written elsewhere puts before it) would store another name than the file's.
FileError checkHiddenListName(const QString &name);

// Whether the list of `folder` can be used: it is missing or a regular file. Otherwise error 75
// naming the file, and every load and edit of that list is refused.
FileError checkHiddenListFile(const QString &folder);
