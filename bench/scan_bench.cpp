// Measures the folder scan core on camera-like and plain 12-megapixel folders
// against the floors of its two paths, the speed-up of the worker threads, and
// the resident memory a 10,000-picture listing costs per picture.
//
//   scan_bench [cache folder]
//
// The pictures are generated once into the cache folder and reused.

#include <algorithm>
#include <cstdio>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "bench/benchsupport.h"
#include "bench/scanpictures.h"
#include "core/scan/folderscan.h"
#include "core/scan/thumbnaildecoder.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/scan/thumbnailproducer.h"

namespace
{

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("?");
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

} // namespace

int main(int argc, char **argv)
{
    const QString cache =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE "/scan3");
    if (!prepareScanPictures(cache)) {
        std::fprintf(stderr, "cannot generate the pictures in %s\n", qPrintable(cache));
        return 1;
    }
    const QString camera = cache + QStringLiteral("/camera");
    const QString plain = cache + QStringLiteral("/plain");
    const QString large = cache + QStringLiteral("/large");
    const int workers = ThumbnailDecoder::defaultWorkerCount();
    std::printf("picture %d x %d, %lld bytes; worker threads: %d\n", pictureWidth, pictureHeight,
                QFile(picturePaths(plain).value(0)).size(), workers);

    // Warm the page cache.
    for (const QString &path : picturePaths(camera) + picturePaths(plain))
        readAll(path);

    std::printf("load average before: %s\n", loadAverage().constData());
    const Timing fastFloor = fastFloorPerFile(picturePaths(camera), 5);
    const Timing fastOne = scanPerFile(camera, 0, 5);
    const Timing fastTwo = scanPerFile(camera, workers, 5);
    std::printf("\nExif thumbnails (%d files):\n", cameraFileCount);
    printTiming("floor: GetThumb to memory + decode 160x120", fastFloor, fastFloor);
    printTiming("scan, one thread", fastOne, fastFloor);
    printTiming("scan, worker threads", fastTwo, fastFloor);

    const Timing slowFloor = slowFloorPerFile(picturePaths(plain), 3);
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
