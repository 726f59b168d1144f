#include "bench/plainpictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include "exif/jpegencoder.h"
#include "exif/jpgtoexif.h"

namespace
{

// A photograph-like picture: smooth colour fields with fine grain.
QImage makePicture()
{
    QImage image(kPlainWidth, kPlainHeight, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < kPlainHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kPlainWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 29) - 4;
            const int r = 128 + int(90 * std::sin(x * 0.0031 + y * 0.0017)) + grain;
            const int g = 128 + int(90 * std::sin(x * 0.0013 - y * 0.0029)) + grain;
            const int b = 128 + int(90 * std::cos((x + y) * 0.0021)) + grain;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

} // namespace

QByteArray plainPicture(const QString &cacheFolder)
{
    const QString path = cacheFolder + QStringLiteral("/exifwrite-plain-4000x3000.jpg");
    QFile cached(path);
    if (cached.open(QIODevice::ReadOnly))
        return cached.readAll();
    QDir().mkpath(cacheFolder);
    const QByteArray jpeg = encodeJpeg(makePicture(), kPlainWidth, kPlainHeight, 92);
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(jpeg);
    return jpeg;
}

QByteArray cameraPicture(const QString &cacheFolder)
{
    const QString path = cacheFolder + QStringLiteral("/camera-4000x3000.jpg");
    if (QFile cached(path); cached.open(QIODevice::ReadOnly))
        return cached.readAll();
    QTemporaryDir work;
    const QString plain = work.filePath(QStringLiteral("plain.jpg"));
    QFile out(plain);
    if (!out.open(QIODevice::WriteOnly) || out.write(plainPicture(cacheFolder)) < 0)
        return {};
    out.close();
    const ExifBuild build = MakeExifFile(plain, 90, work.path() + u'/');
    if (!build.ok() || !QFile::copy(build.path, path))
        return {};
    QFile made(path);
    return made.open(QIODevice::ReadOnly) ? made.readAll() : QByteArray();
}

QStringList fillFolder(const QString &folder, const QByteArray &jpeg, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        paths.append(path);
    }
    return paths;
}

bool readAndDecodeEighth(void *decoder, const QString &path, QByteArray &jpeg, QImage &eighth)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    jpeg = in.readAll();
    const auto *data = reinterpret_cast<const unsigned char *>(jpeg.constData());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(decoder, data, jpeg.size(), &width, &height, &subsampling,
                            &colorspace) != 0)
        return false;
    const tjscalingfactor factor{1, 8};
    eighth = QImage(TJSCALED(width, factor), TJSCALED(height, factor), QImage::Format_RGB32);
    return tjDecompress2(decoder, data, jpeg.size(), eighth.bits(), eighth.width(),
                         int(eighth.bytesPerLine()), eighth.height(), TJPF_BGRX, 0) == 0;
}
