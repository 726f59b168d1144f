#include "core/rename/daterename.h"

#include <cerrno>
#include <optional>

#include "core/rename/datename.h"
#include "core/rename/foldernames.h"
#include "exif/exifdata.h"

namespace
{

const QString kLogLabel = QStringLiteral("FILENAMEONE");

// Beyond this many pictures of one second the file system is taken to refuse every name
// (a loop that never ends would hang the window).
constexpr int kMostPicturesPerSecond = 100000;

struct RenameOutcome {
    std::optional<QString> newName; // nothing: the picture keeps its name
    StepError error;
};

std::optional<QString> shootingDateName(const QString &path)
{
    ExifData exif;
    exif.SetExif(path);
    if (!exif.IsExif())
        return std::nullopt;
    return dateNameOf(exif.DateExif());
}

bool isTaken(const StepError &error)
{
    return error.failed && error.systemError == EEXIST;
}

StepError renameEntry(const QString &from, const QString &to, FolderNames &entries,
                      const DateRenamePorts &ports)
{
    const auto rename = [&] { return entries.rename(from, to); };
    if (!ports.keepMark)
        return rename();
    StepError markError;
    const StepError renamed = ports.keepMark(from, to, rename, markError);
    if (markError.failed)
        ports.log(kLogLabel, markError);
    return renamed;
}

// The first numbered name that is free when the rename tries it.
RenameOutcome renameNumbered(const QString &name, const QString &dateName, FolderNames &entries,
                             const DateRenamePorts &ports)
{
    for (int counter = 1; counter <= kMostPicturesPerSecond; ++counter) {
        const QString target = numberedDateName(dateName, counter);
        if (target == name)
            return {}; // the picture already carries this numbered name
        const StepError error = renameEntry(name, target, entries, ports);
        if (!isTaken(error))
            return {error.failed ? std::nullopt : std::optional(target), error};
    }
    return {std::nullopt, StepError::because(name + QStringLiteral(": every numbered name of ") +
                                             dateName + QStringLiteral(" is taken"))};
}

RenameOutcome renameOne(const QString &name, const QString &dateName, FolderNames &entries,
                        const DateRenamePorts &ports)
{
    const QString target = dateName + QStringLiteral(".jpg");
    if (target == name)
        return {};
    const StepError error = renameEntry(name, target, entries, ports);
    if (isTaken(error))
        return renameNumbered(name, dateName, entries, ports);
    return {error.failed ? std::nullopt : std::optional(target), error};
}

} // namespace

int renameToShootingDate(const QString &folder, const QStringList &names, FolderNames &entries,
                         const DateRenamePorts &ports)
{
    int done = 0;
    for (int index = 0; index < names.size(); ++index) {
        const QString &name = names[index];
        const std::optional<QString> dateName = shootingDateName(folder + name);
        if (!dateName)
            continue;
        ports.progress(index);
        const RenameOutcome outcome = renameOne(name, *dateName, entries, ports);
        if (outcome.error.failed)
            ports.log(kLogLabel, outcome.error);
        if (!outcome.newName)
            continue;
        ports.renamed(index, *outcome.newName);
        ++done;
    }
    return done;
}
