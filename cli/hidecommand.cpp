#include "cli/clisupport.h"
#include "cli/commands.h"

#include <QFileInfo>

#include "platform/fileattributes.h"

namespace
{

// Sets or clears the private mark of every file named, one edit of ".hidden" per folder.
int setPrivate(const QStringList &arguments, bool makePrivate)
{
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1String("--")))
        return failUsage(QStringLiteral("usage: tabilo-cli %1 FILE...")
                             .arg(makePrivate ? QStringLiteral("hide") : QStringLiteral("show")));
    QStringList paths;
    for (const QString &argument : arguments)
        paths.append(QFileInfo(argument).absoluteFilePath());
    const QList<FileError> results = setHiddenMarks(paths, makePrivate);
    bool failed = false;
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (results[i].ok())
            continue;
        printError(QStringLiteral("%1: %2 (error %3)")
                       .arg(arguments[i], results[i].description)
                       .arg(results[i].number));
        failed = true;
    }
    return failed ? 1 : 0;
}

} // namespace

// tabilo-cli hide FILE... and show FILE...: make pictures private (listed in their folder's
// ".hidden") or public again. A file that cannot be changed is told on standard error with
// its error number; exit status 0 when every file was changed, 1 otherwise.
int runHideCommand(const QStringList &arguments)
{
    return setPrivate(arguments, true);
}

int runShowCommand(const QStringList &arguments)
{
    return setPrivate(arguments, false);
}
