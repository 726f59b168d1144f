#include "cli/clisupport.h"
#include "cli/commands.h"

#include <QDir>

#include "core/cameratable.h"
#include "core/panellines.h"
#include "platform/installlayout.h"

// tabilo-cli info FILE [--table PATH]: the eighteen lines the information panel shows for
// FILE, one per line. The camera table defaults to the Tabilo.dat of the data folder.
int runInfoCommand(const QStringList &arguments)
{
    QString path;
    QString tablePath;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--table")) {
            if (++i >= arguments.size())
                return failUsage(QStringLiteral("--table needs a path"));
            tablePath = arguments[i];
        } else if (path.isEmpty()) {
            path = arguments[i];
        } else {
            return failUsage(QStringLiteral("usage: tabilo-cli info FILE [--table PATH]"));
        }
    }
    if (path.isEmpty())
        return failUsage(QStringLiteral("usage: tabilo-cli info FILE [--table PATH]"));
    if (!checkReadableFile(path))
        return kUsageStatus;

    CameraTable table;
    if (!tablePath.isEmpty()) {
        if (!checkReadableFile(tablePath))
            return kUsageStatus;
        table.load(tablePath);
    } else {
        const QString defaultTable = QDir(dataFolder()).filePath(QStringLiteral("Tabilo.dat"));
        if (table.load(defaultTable) != CameraTable::LoadResult::Loaded)
            failUsage(QStringLiteral("%1: %2; no 35 mm equivalents")
                          .arg(defaultTable, table.errorString()));
    }

    const std::optional<PanelContent> panel = panelContentForFile(path, QString(), table);
    if (!panel)
        return failUsage(QStringLiteral("%1: no such file").arg(path));
    for (const QString &line : panel->lines)
        printLine(line);
    return 0;
}
