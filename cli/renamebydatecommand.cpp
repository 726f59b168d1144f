#include "cli/clisupport.h"
#include "cli/commands.h"

#include <functional>
#include <memory>

#include <QDir>
#include <QFileInfo>

#include "core/paths.h"
#include "core/rename/daterename.h"
#include "core/rename/foldernames.h"
#include "core/scan/folderlisting.h"
#include "platform/hiddenmarkcarrier.h"

namespace
{

const QString kUsage = QStringLiteral("usage: tabilo-cli rename-by-date [--dry-run] FOLDER");

struct RenameArguments {
    bool dryRun = false;
    QString folder;
};

std::optional<RenameArguments> parseArguments(const QStringList &arguments)
{
    RenameArguments parsed;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--dry-run"))
            parsed.dryRun = true;
        else if (argument.startsWith(QLatin1String("--")) || !parsed.folder.isEmpty())
            return std::nullopt;
        else
            parsed.folder = argument;
    }
    if (parsed.folder.isEmpty())
        return std::nullopt;
    return parsed;
}

std::unique_ptr<FolderNames> entriesOf(const QString &folder, bool dryRun)
{
    if (dryRun)
        return std::make_unique<PlannedFolderNames>(folder);
    return std::make_unique<FolderNames>(folder);
}

} // namespace

// tabilo-cli rename-by-date [--dry-run] FOLDER: renames the Exif pictures of FOLDER, in name
// order, to their shooting date as the rename dialog does, and prints "OLD -> NEW" for each
// picture renamed. --dry-run prints the same plan and changes nothing. A rename that fails is
// told on standard error; exit status 0 when none failed, 1 otherwise.
int runRenameByDateCommand(const QStringList &arguments)
{
    const std::optional<RenameArguments> parsed = parseArguments(arguments);
    if (!parsed)
        return failUsage(kUsage);
    const QFileInfo named(parsed->folder);
    if (!named.isDir())
        return failUsage(QStringLiteral("%1: not a folder").arg(parsed->folder));
    const QString folder = withTrailingBackslash(QDir::cleanPath(named.absoluteFilePath()));
    const FolderListing listing =
        listJpegFiles(folder, VisibleMode::All, [](const QString &) { return false; });
    if (!listing.ok)
        return failUsage(QStringLiteral("%1: %2").arg(parsed->folder, listing.error.description));
    if (listing.undecodable > 0)
        printError(QStringLiteral("%1: %2 file(s) left out: their names are not valid UTF-8")
                       .arg(parsed->folder)
                       .arg(listing.undecodable));

    const std::unique_ptr<FolderNames> entries = entriesOf(folder, parsed->dryRun);
    // A dry run leaves ".hidden" unread: it changes no mark.
    std::optional<HiddenMarkCarrier> marks;
    if (!parsed->dryRun) {
        if (const FileError error = checkHiddenListFile(folder); !error.ok()) {
            printError(error.description);
            return 1;
        }
        marks.emplace(folder);
    }
    bool failed = false;
    DateRenamePorts ports;
    ports.progress = [](int) {};
    ports.renamed = [&listing](int index, const QString &newName) {
        printLine(listing.names[index] + QStringLiteral(" -> ") + newName);
    };
    if (marks)
        ports.keepMark = std::bind_front(&HiddenMarkCarrier::rename, &*marks);
    ports.log = [&failed](const QString &, const StepError &error) {
        printError(error.description);
        failed = true;
    };
    renameToShootingDate(folder, listing.names, *entries, ports);
    return failed ? 1 : 0;
}
