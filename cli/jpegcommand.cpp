#include "cli/clisupport.h"
#include "cli/commands.h"
#include "cli/jsonline.h"

#include "exif/jpgsize.h"

// tabilo-cli jpeg FILE: the frame reader's answers for FILE as one JSON line.
int runJpegCommand(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return failUsage(QStringLiteral("usage: tabilo-cli jpeg FILE"));
    const QString &path = arguments.first();
    if (!checkReadableFile(path))
        return kUsageStatus;

    const JpegSize size = GetJpegSize(path);
    JsonLine json;
    json.add("width", qint64(size.width))
        .add("height", qint64(size.height))
        .add("frameType", qint64(GetJpegFrameType(path)))
        .add("notMultipleOf8", qint64(SizeNotMultipleOf8(path)))
        .add("body", qint64(FindJpegBody(path)));
    printLine(json.text());
    return 0;
}
