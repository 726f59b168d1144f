#include "exif/exifdata.h"
#include "exif/exiforientation.h"
#include "fuzz/fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ExifData exif;
    const QString path = writeFuzzInput(data, size);
    exif.SetExif(path);
    // The orientation walks the same segments, from the file and from memory.
    volatile int orientation =
        exifOrientation(path) + exifOrientationInBytes(QByteArrayView(
                                    reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)orientation;
    // Every property decodes the kept raw values, whatever the parse left in them.
    volatile qsizetype sink =
        exif.GetExif().size() + exif.ExifError() + exif.VersionExif().size() + exif.IsExif() +
        exif.DateExif().size() + exif.SizeExifX() + exif.SizeExifY() + exif.FlashExif().size() +
        exif.ShutterSpeed().size() + exif.MakerExif().size() + exif.SoftwearExif().size() +
        exif.ModelExif().size() + exif.PictureMode().size() + exif.SokkouMode().size() +
        exif.RosyutsuProgram().size() + exif.ExpBiasVal().size() + exif.IIMM().size() +
        exif.HaveThumb() + exif.ISOspeedRate();
    volatile double numbers = exif.Fnumber() + exif.FocalLength();
    (void)sink;
    (void)numbers;
    return 0;
}
