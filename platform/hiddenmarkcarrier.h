#pragma once

#include <functional>

#include <QString>

#include "exif/steperror.h"
#include "platform/fileerror.h"
#include "platform/hiddenlist.h"

// Keeps the private mark of pictures renamed inside one folder at every moment: a private
// picture's new name is listed in the folder's ".hidden" before the rename and its old name is
// dropped after it, so a run killed anywhere leaves no private picture public. Afterwards the
// new name is listed exactly when the old one was private (listed, or a dot-name). The list is
// read once, so a run over a whole folder does not read it per picture; it is edited (under its
// lock) only where a line changes.
class HiddenMarkCarrier
{
  public:
    explicit HiddenMarkCarrier(const QString &folder);

    // Renames the entry `from` of the folder to `to` through `renameEntry` and returns its
    // result. A list that cannot be read, or a mark that cannot be listed ahead, refuses the
    // rename with that error: the picture may be private. A line that could not be tidied
    // after the rename (the picture then stays private) is told in `markError`.
    StepError rename(const QString &from, const QString &to,
                     const std::function<StepError()> &renameEntry, StepError &markError);

  private:
    StepError edit(const std::function<bool(HiddenList &)> &change);

    QString m_folder;
    HiddenList m_list;
    FileError m_loadError;
};
