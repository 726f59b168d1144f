// Measures the folder scan core on camera-like and plain 12-megapixel folders
// against the floors of its two paths, the speed-up of the worker threads, and
// the resident memory a 10,000-picture listing costs per picture.
//
//   scan_bench [cache folder]
//
// The pictures are generated once into the cache folder and reused.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

#include <turbojpeg.h>

#include "app/folderscan.h"
#include "app/thumbnaildecoder.h"
#include "app/thumbnaillistmodel.h"
#include "app/thumbnailproducer.h"
#include "exif/exifthumb.h"
#include "exif/jpegencoder.h"

namespace
{

constexpr int cameraFileCount = 1000;
constexpr int plainFileCount = 100;
constexpr int largeListingCount = 10000;
constexpr int pictureWidth = 4000;
constexpr int pictureHeight = 3000;
const QSize listSize(160, 120);

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of the whole process (all threads), in milliseconds.
double processCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Wall and CPU time of one run, in milliseconds.
struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

// The best of `rounds` runs of `run`. The machine is shared, so the best run
// is the one least disturbed by others; CPU time is less disturbed still.
Timing bestOf(int rounds, const std::function<void()> &run)
{
    Timing best;
    for (int i = 0; i < rounds; ++i) {
        const double cpuStart = processCpuMilliseconds();
        const auto start = Clock::now();
        run();
        best.wall = std::min(best.wall, millisecondsSince(start));
        best.cpu = std::min(best.cpu, processCpuMilliseconds() - cpuStart);
    }
    return best;
}

Timing perFile(Timing total, int files)
{
    return files > 0 ? Timing{total.wall / files, total.cpu / files} : Timing{0, 0};
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("?");
}

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

void appendLittle16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void appendLittle32(QByteArray &out, quint32 value)
{
    appendLittle16(out, quint16(value & 0xFFFF));
    appendLittle16(out, quint16(value >> 16));
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

int jpgCount(const QString &folder)
{
    return int(QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files).size());
}

QString numbered(const QString &folder, const char *prefix, int index)
{
    return folder + QStringLiteral("/%1%2.jpg")
                        .arg(QLatin1String(prefix))
                        .arg(index, 5, 10, QLatin1Char('0'));
}

bool generateFolders(const QString &cache)
{
    const QString camera = cache + QStringLiteral("/camera");
    const QString plain = cache + QStringLiteral("/plain");
    const QString large = cache + QStringLiteral("/large");
    if (jpgCount(camera) == cameraFileCount && jpgCount(plain) == plainFileCount &&
        jpgCount(large) == largeListingCount)
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

QStringList picturePaths(const QString &folder)
{
    QStringList paths;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        paths.append(folder + QLatin1Char('/') + name);
    return paths;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Decodes with plain TurboJPEG at the given scale: the least any reader must do.
bool rawDecode(tjhandle handle, const QByteArray &jpeg, int scaleDenominator,
               std::vector<unsigned char> &pixels)
{
    const auto *data = reinterpret_cast<const unsigned char *>(jpeg.constData());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, data, jpeg.size(), &width, &height, &subsampling,
                            &colorspace) != 0)
        return false;
    const tjscalingfactor factor{1, scaleDenominator};
    const int scaledWidth = TJSCALED(width, factor);
    const int scaledHeight = TJSCALED(height, factor);
    pixels.resize(size_t(scaledWidth) * scaledHeight * 4);
    return tjDecompress2(handle, data, jpeg.size(), pixels.data(), scaledWidth, 0, scaledHeight,
                         TJPF_BGRX, 0) == 0;
}

// Floor of the fast path: the thumbnail taken from the header into memory and decoded.
Timing fastFloorPerFile(const QStringList &paths)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels;
    const Timing total = bestOf(5, [&] {
        for (const QString &path : paths) {
            QByteArray thumb;
            ExifThumb exifThumb;
            if (exifThumb.GetThumb(path, thumb) == 0 || !rawDecode(handle, thumb, 1, pixels))
                std::printf("fast floor: %s failed\n", qPrintable(path));
        }
    });
    tjDestroy(handle);
    return perFile(total, int(paths.size()));
}

// Floor of the slow path: the file read and decoded at 1/8 scale on one core.
Timing slowFloorPerFile(const QStringList &paths)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels;
    const Timing total = bestOf(3, [&] {
        for (const QString &path : paths) {
            if (!rawDecode(handle, readAll(path), 8, pixels))
                std::printf("slow floor: %s failed\n", qPrintable(path));
        }
    });
    tjDestroy(handle);
    return perFile(total, int(paths.size()));
}

FolderScanResult scanFolder(ThumbnailListModel &model, const QString &folder, int workers)
{
    FolderScanCallbacks callbacks;
    callbacks.processEventsAndShouldStop = [](int) { return false; };
    callbacks.askConversion = [] { return false; };
    callbacks.logError = [](const QString &place, const ErrorRecord &error) {
        std::printf("logged: %s %s\n", qPrintable(place), qPrintable(error.description));
    };
    FolderScanSettings settings;
    settings.workers = workers;
    FolderScan scan(model, ThumbnailProducer(listSize, Qt::black), callbacks);
    return scan.run(folder, settings, {});
}

Timing scanPerFile(const QString &folder, int workers, int rounds)
{
    int files = 0;
    const Timing total = bestOf(rounds, [&] {
        ThumbnailListModel model(decodeListPicture);
        files = scanFolder(model, folder, workers).listed;
    });
    return perFile(total, files);
}

void printTiming(const char *what, Timing timing, Timing floor)
{
    std::printf("  %-42s %8.4f ms/file wall (ratio %.2f), %8.4f ms/file CPU (ratio %.2f)\n", what,
                timing.wall, timing.wall / floor.wall, timing.cpu, timing.cpu / floor.cpu);
}

qint64 residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    const QString cache =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE "/scan3");
    if (!generateFolders(cache)) {
        std::fprintf(stderr, "cannot generate the pictures in %s\n", qPrintable(cache));
        return 1;
    }
    const QString camera = cache + QStringLiteral("/camera");
    const QString plain = cache + QStringLiteral("/plain");
    const QString large = cache + QStringLiteral("/large");
    const int workers = ThumbnailDecoder::defaultWorkerCount();
    std::printf("picture %d x %d, %lld bytes; worker threads: %d\n", pictureWidth, pictureHeight,
                QFile(numbered(plain, "plain", 0)).size(), workers);

    // Warm the page cache.
    for (const QString &path : picturePaths(camera) + picturePaths(plain))
        readAll(path);

    std::printf("load average before: %s\n", loadAverage().constData());
    const Timing fastFloor = fastFloorPerFile(picturePaths(camera));
    const Timing fastOne = scanPerFile(camera, 0, 5);
    const Timing fastTwo = scanPerFile(camera, workers, 5);
    std::printf("\nExif thumbnails (%d files):\n", cameraFileCount);
    printTiming("floor: GetThumb to memory + decode 160x120", fastFloor, fastFloor);
    printTiming("scan, one thread", fastOne, fastFloor);
    printTiming("scan, worker threads", fastTwo, fastFloor);

    const Timing slowFloor = slowFloorPerFile(picturePaths(plain));
    const Timing slowOne = scanPerFile(plain, 0, 3);
    const Timing slowTwo = scanPerFile(plain, workers, 3);
    std::printf("\nPlain 12-MP pictures (%d files):\n", plainFileCount);
    printTiming("floor: read + 1/8 DCT decode, one core", slowFloor, slowFloor);
    printTiming("scan, one thread", slowOne, slowFloor);
    printTiming("scan, worker threads", slowTwo, slowFloor);
    std::printf("  speed-up of the worker threads over the one-core floor: %.2fx (wall)\n",
                slowFloor.wall / slowTwo.wall);
    std::printf("load average after: %s\n", loadAverage().constData());

    // Resident memory of a 10,000-picture listing, after one small scan has
    // loaded everything a scan needs once.
    ThumbnailListModel model(decodeListPicture);
    scanFolder(model, plain, workers);
    std::printf("\ndrawn thumbnails kept: %.2f KB per picture\n",
                double(model.compressedBytes()) / 1024 / std::max(1, model.rowCount()));
    model.clear();
    const qint64 before = residentKilobytes();
    const auto start = Clock::now();
    const FolderScanResult result = scanFolder(model, large, workers);
    const double largeMs = millisecondsSince(start);
    const qint64 after = residentKilobytes();
    std::printf("%d-picture listing: %.1f s, %.4f ms/file\n", result.listed, largeMs / 1000,
                largeMs / std::max(1, result.listed));
    std::printf("  resident size %lld KB -> %lld KB: %.2f KB per picture\n", before, after,
                double(after - before) / std::max(1, result.listed));
    std::printf("  kept thumbnails %.2f KB per picture; decode cache %.1f MB (%d pictures)\n",
                double(model.compressedBytes()) / 1024 / std::max(1, model.rowCount()),
                double(model.cache().bytesUsed()) / (1024 * 1024), model.cache().count());
    return 0;
}
