#include "exif/exifthumb.h"
#include "fuzz/fuzzinput.h"

#include <QFile>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString source = writeFuzzInput(data, size);

    ExifThumb inMemory;
    QByteArray thumb;
    const qint16 length = inMemory.GetThumb(source, thumb);

    ExifThumb toFile;
    const QString target = fuzzOutputPath();
    QFile::remove(target);
    // Both overloads walk the same way, so they must agree on the result and the bytes.
    if (toFile.GetThumb(source, target) != length)
        std::abort();
    if (length != 0) {
        QFile written(target);
        if (!written.open(QIODevice::ReadOnly) || written.readAll() != thumb)
            std::abort();
    } else if (!thumb.isEmpty() || QFile::exists(target)) {
        std::abort();
    }
    return 0;
}
