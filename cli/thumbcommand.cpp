#include "cli/clisupport.h"
#include "cli/commands.h"

#include <QFileInfo>

#include "exif/exifthumb.h"

// tabilo-cli thumb FILE OUT: copies FILE's embedded thumbnail to OUT and prints its length
// (0 when there is none).
int runThumbCommand(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return failUsage(QStringLiteral("usage: tabilo-cli thumb FILE OUT"));
    const QString &source = arguments.at(0);
    const QString &target = arguments.at(1);
    if (!checkReadableFile(source))
        return kUsageStatus;
    const QFileInfo targetFolder(QFileInfo(target).absolutePath());
    if (!targetFolder.isDir() || !targetFolder.isWritable())
        return failUsage(QStringLiteral("%1: cannot write in that folder").arg(target));

    ExifThumb thumb;
    printLine(QString::number(thumb.GetThumb(source, target)));
    return 0;
}
