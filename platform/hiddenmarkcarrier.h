#pragma once

#include <QString>

#include "platform/fileerror.h"
#include "platform/hiddenlist.h"

// Keeps the private mark of pictures renamed inside one folder: afterwards the new name is
// listed in the folder's ".hidden" exactly when the old one was private (listed, or a
// dot-name), and the old name's line is gone. The list is read once, so a run over a whole
// folder does not read it per picture; it is edited (under its lock) only where a line changes.
class HiddenMarkCarrier
{
  public:
    explicit HiddenMarkCarrier(const QString &folder);

    // After the entry `from` of the folder was renamed to `to`.
    FileError carry(const QString &from, const QString &to);

  private:
    QString m_folder;
    HiddenList m_list;
    FileError m_loadError;
};
