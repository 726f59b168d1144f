#include "exif/picturefile.h"

#include <QBuffer>
#include <QImageReader>

#include "exif/workfile.h"

QImage readPictureFile(const QString &path, bool autoTransform)
{
    QByteArray bytes;
    if (readWholeFile(path, bytes, kLargestPictureFile).failed)
        return QImage();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(autoTransform);
    return reader.read();
}
