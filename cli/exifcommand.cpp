#include "cli/clisupport.h"
#include "cli/commands.h"
#include "cli/jsonline.h"

#include "exif/exifdata.h"

// tabilo-cli exif FILE: the Exif properties of FILE as one JSON line.
int runExifCommand(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return failUsage(QStringLiteral("usage: tabilo-cli exif FILE"));
    const QString &path = arguments.first();
    if (!checkReadableFile(path))
        return kUsageStatus;

    ExifData exif;
    exif.SetExif(path);
    JsonLine json;
    json.add("GetExif", exif.GetExif())
        .add("ExifError", qint64(exif.ExifError()))
        .add("VersionExif", exif.VersionExif())
        .add("IsExif", exif.IsExif())
        .add("DateExif", exif.DateExif())
        .add("SizeExifX", qint64(exif.SizeExifX()))
        .add("SizeExifY", qint64(exif.SizeExifY()))
        .add("FlashExif", exif.FlashExif())
        .add("ShutterSpeed", exif.ShutterSpeed())
        .add("MakerExif", exif.MakerExif())
        .add("SoftwearExif", exif.SoftwearExif())
        .add("ModelExif", exif.ModelExif())
        .add("PictureMode", exif.PictureMode())
        .add("Fnumber", exif.Fnumber())
        .add("SokkouMode", exif.SokkouMode())
        .add("RosyutsuProgram", exif.RosyutsuProgram())
        .add("FocalLength", exif.FocalLength())
        .add("ExpBiasVal", exif.ExpBiasVal())
        .add("IIMM", exif.IIMM())
        .add("HaveThumb", exif.HaveThumb())
        .add("ISOspeedRate", qint64(exif.ISOspeedRate()));
    printLine(json.text());
    return 0;
}
