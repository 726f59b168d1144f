#include "exif/jpegdecode.h"
#include "exif/jpgtoexif.h"
#include "fuzz/fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A hostile source is either refused with its reason or becomes a file that decodes to the
// source's picture; the builder writes nothing but that file, and only into its work folder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString source = writeFuzzInput(data, size);
    const QString work = fuzzWorkFolder();
    const ExifBuild build = MakeExifFile(source, 70, work);
    if (build.ok()) {
        require(build.path == work + QStringLiteral("EXIFFILE.EXIF"));
        require(entriesOf(work) == QStringList{QStringLiteral("EXIFFILE.EXIF")});
        const DecodedJpeg built = decodeJpegFileForBox(build.path, kExifThumbSize);
        require(!built.isNull());
        require(built.fullSize == decodeJpegFileForBox(source, kExifThumbSize).fullSize);
        QFile::remove(build.path);
    } else {
        require(build.error.failed && !build.error.description.isEmpty());
        require(!build.labels.isEmpty());
        require(entriesOf(work).isEmpty());
    }
    // The source is only read, and nothing appears beside it.
    require(contentsOf(source) ==
            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    require(entriesOf(QFileInfo(source).path()) ==
            QStringList({QFileInfo(source).fileName(), QStringLiteral("work")}));
    return 0;
}
