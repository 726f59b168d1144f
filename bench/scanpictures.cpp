#include "bench/scanpictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>

#include "bench/benchsupport.h"
#include "exif/jpegencoder.h"

namespace
{

// A photograph-like picture: smooth colour fields with fine grain, so that it
// compresses to about 3 MB like a camera's 12-megapixel JPEG.
QImage makePicture()
{
    QImage image(pictureWidth, pictureHeight, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < pictureHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < pictureWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 28) - 8;
            const int r = 128 + int(90 * std::sin(x * 0.0031 + y * 0.0017)) + grain;
            const int g = 128 + int(90 * std::sin(x * 0.0013 - y * 0.0029)) + grain;
            const int b = 128 + int(90 * std::cos((x + y) * 0.0021)) + grain;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

void appendEntry(QByteArray &out, quint16 tag, quint16 type, quint32 value)
{
    appendLittle16(out, tag);
    appendLittle16(out, type);
    appendLittle32(out, 1);
    appendLittle32(out, value);
}

void appendSegment(QByteArray &out, quint8 marker, const QByteArray &body)
{
    out.append(char(0xFF));
    out.append(char(marker));
    out.append(char((body.size() + 2) >> 8));
    out.append(char((body.size() + 2) & 0xFF));
    out.append(body);
}

// An Exif APP1 body as a camera writes it at its smallest: IFD0 with the
// orientation, IFD1 with a JPEG thumbnail.
QByteArray exifBody(const QByteArray &thumbnail)
{
    constexpr quint32 ifd0 = 8;
    constexpr quint32 ifd1 = ifd0 + 2 + 12 + 4;
    constexpr quint32 thumbnailOffset = ifd1 + 2 + 3 * 12 + 4;
    QByteArray tiff("II*\0", 4);
    appendLittle32(tiff, ifd0);
    appendLittle16(tiff, 1);
    appendEntry(tiff, 0x0112, 3, 1); // Orientation
    appendLittle32(tiff, ifd1);
    appendLittle16(tiff, 3);
    appendEntry(tiff, 0x0103, 3, 6); // Compression: JPEG
    appendEntry(tiff, 0x0201, 4, thumbnailOffset);
    appendEntry(tiff, 0x0202, 4, quint32(thumbnail.size()));
    appendLittle32(tiff, 0);
    tiff.append(thumbnail);
    return QByteArray("Exif\0\0", 6) + tiff;
}

// SOI, [Exif APP1], a comment that makes each copy different, then the rest
// of the encoded picture.
QByteArray pictureFile(const QByteArray &encoded, const QByteArray &exif, int copy)
{
    QByteArray file = encoded.left(2);
    if (!exif.isEmpty())
        appendSegment(file, 0xE1, exif);
    appendSegment(file, 0xFE, QByteArray("copy ") + QByteArray::number(copy));
    file.append(encoded.mid(2));
    return file;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString numbered(const QString &folder, const char *prefix, int index)
{
    return folder + QStringLiteral("/%1%2.jpg")
                        .arg(QLatin1String(prefix))
                        .arg(index, 5, 10, QLatin1Char('0'));
}

} // namespace

bool prepareScanPictures(const QString &cache)
{
    const QString camera = cache + QStringLiteral("/camera");
    const QString plain = cache + QStringLiteral("/plain");
    const QString large = cache + QStringLiteral("/large");
    if (picturePaths(camera).size() == cameraFileCount &&
        picturePaths(plain).size() == plainFileCount &&
        picturePaths(large).size() == largeListingCount)
        return true;

    std::printf("generating the pictures into %s ...\n", qPrintable(cache));
    for (const QString &folder : {camera, plain, large}) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    const QImage picture = makePicture();
    const QByteArray encoded = encodeJpeg(picture, pictureWidth, pictureHeight, 92);
    const QImage small = picture.scaled(listSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QByteArray exif = exifBody(encodeJpeg(small, small.width(), small.height(), 90));
    if (encoded.isEmpty())
        return false;
    for (int i = 0; i < cameraFileCount; ++i) {
        if (!writeFile(numbered(camera, "cam", i), pictureFile(encoded, exif, i)))
            return false;
    }
    for (int i = 0; i < plainFileCount; ++i) {
        if (!writeFile(numbered(plain, "plain", i), pictureFile(encoded, {}, i)))
            return false;
    }
    for (int i = 0; i < largeListingCount; ++i) {
        const QString target = numbered(camera, "cam", i % cameraFileCount);
        if (!QFile::link(target, numbered(large, "big", i)))
            return false;
    }
    return true;
}
