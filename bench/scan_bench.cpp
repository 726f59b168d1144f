// Measures the folder scan core on camera-like and plain 12-megapixel folders
// against the floors of its two paths, the speed-up of the worker threads, and
// the resident memory a 10,000-picture listing costs per picture; then the
// listings from a cold page cache and through a share that adds a network's
// latency to every request (bench/latencyshare.cpp, when FUSE is available).
//
//   scan_bench [cache folder]
//
// The pictures are generated once into the cache folder and reused.

#include <algorithm>
#include <cstdio>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "bench/benchsupport.h"
#include "bench/latencysharemount.h"
#include "bench/scanpictures.h"
#include "core/scan/desktopthumbnails.h"
#include "core/scan/folderscan.h"
#include "core/scan/heapreuse.h"
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

FolderScanResult scanFolder(ThumbnailListModel &model, const QString &folder, int workers,
                            std::optional<DesktopThumbnails> remembered = std::nullopt)
{
    FolderScanCallbacks callbacks;
    callbacks.processEventsAndShouldStop = [](int) { return false; };
    callbacks.askConversion = [] { return false; };
    callbacks.logError = [](const QString &place, const ErrorRecord &error) {
        std::printf("logged: %s %s\n", qPrintable(place), qPrintable(error.description));
    };
    FolderScanSettings settings;
    settings.workers = workers;
    FolderScan scan(model, ThumbnailProducer(listSize, Qt::black, true, std::move(remembered)),
                    callbacks);
    return scan.run(folder, settings, {});
}

// With `cold`, the folder's pictures leave the page cache before every round.
Timing scanPerFile(const QString &folder, int workers, int rounds, bool cold = false)
{
    int files = 0;
    const QStringList paths = cold ? picturePaths(folder) : QStringList();
    const Timing total = bestOf(
        rounds, [&] { evictFromPageCache(paths); },
        [&] {
            ThumbnailListModel model(decodeListPicture);
            files = scanFolder(model, folder, workers).listed;
        });
    return perFile(total, files);
}

// The warm listings of `folder` (one thread, and `workers`) and their floor, taken in turn.
struct WarmTimings {
    Timing floor, one, workers;
};

WarmTimings measureWarm(const QString &folder, int workers, int rounds,
                        void (*floorRound)(const QStringList &))
{
    const QStringList paths = picturePaths(folder);
    const auto scanRound = [&folder](int threads) {
        return [&folder, threads] {
            ThumbnailListModel model(decodeListPicture);
            scanFolder(model, folder, threads);
        };
    };
    const std::vector<Timing> best =
        bestOfEach(rounds, {[&] { floorRound(paths); }, scanRound(0), scanRound(workers)});
    const int files = int(paths.size());
    return {perFile(best[0], files), perFile(best[1], files), perFile(best[2], files)};
}

void printTiming(const char *what, Timing timing, Timing floor)
{
    std::printf("  %-42s %8.4f ms/file wall (ratio %.2f), %8.4f ms/file CPU (ratio %.2f)\n", what,
                timing.wall, timing.wall / floor.wall, timing.cpu, timing.cpu / floor.cpu);
}

void printGoal(const char *what, double ratio, const char *goal, bool met)
{
    std::printf("  %-42s %.2fx (goal: %s) %s\n", what, ratio, goal, met ? "met" : "NOT MET");
}

// The plain pictures listed through the desktop's thumbnail store: a first
// visit, which draws and keeps every thumbnail, and a second, which reads them.
void measureRememberedThumbnails(const QString &plain, int workers, Timing withoutStore)
{
    QTemporaryDir store;
    const DesktopThumbnails remembered(store.path(), QStringLiteral("tabilo-bench"));
    int files = 0;
    const Timing first = perFile(bestOf(
                                     3, [&] { QDir(store.path()).removeRecursively(); },
                                     [&] {
                                         ThumbnailListModel model(decodeListPicture);
                                         files =
                                             scanFolder(model, plain, workers, remembered).listed;
                                     }),
                                 plainFileCount);
    const Timing second = perFile(bestOf(5,
                                         [&] {
                                             ThumbnailListModel model(decodeListPicture);
                                             scanFolder(model, plain, workers, remembered);
                                         }),
                                  plainFileCount);
    std::printf("\nRemembered thumbnails, plain 12-MP pictures (%d files, %d listed):\n",
                plainFileCount, files);
    printTiming("first visit, keeping the thumbnails", first, withoutStore);
    printTiming("second visit, from the store", second, withoutStore);
    printGoal("first visit / without the store", first.wall / withoutStore.wall, "<= 1.05x",
              first.wall <= 1.05 * withoutStore.wall);
    std::printf("  %-42s %.3f ms/file (goal: <= 1 ms) %s\n", "second visit", second.wall,
                second.wall <= 1.0 ? "met" : "NOT MET");
}

// The listings read from a cold page cache: every round reads from the disk.
void measureColdDisk(const QString &camera, int workers)
{
    std::printf("\nCold page cache, local disk, Exif thumbnails (%d files):\n", cameraFileCount);
    const Timing serial = scanPerFile(camera, 0, 3, true);
    const Timing many = scanPerFile(camera, workers, 3, true);
    printTiming("scan, one serial reader", serial, serial);
    printTiming("scan, readers in flight", many, serial);
    printGoal("readers in flight / one serial reader", many.wall / serial.wall, "<= 0.6x",
              many.wall <= 0.6 * serial.wall);
}

// The listings read through a share that waits `delay` before every request,
// with its pages dropped before every round as a client that reopens would.
void measureShare(const QString &cache, int workers, Timing localPlain)
{
    constexpr int delay = 1000;
    LatencyShareMount share;
    if (!share.mount(cache, QDir::tempPath(), delay)) {
        std::printf("\nLatency share: not measured, FUSE is not available here: %s\n",
                    qPrintable(share.failure()));
        return;
    }
    std::printf("\nLatency share, %d us per open, read and directory read:\n", delay);
    const QString camera = share.mountPoint() + QStringLiteral("/camera");
    const QString plain = share.mountPoint() + QStringLiteral("/plain");
    const Timing serial = scanPerFile(camera, 0, 2, true);
    const Timing many = scanPerFile(camera, workers, 2, true);
    std::printf(" Exif thumbnails (%d files):\n", cameraFileCount);
    printTiming("scan, one serial reader", serial, serial);
    printTiming("scan, readers in flight", many, serial);
    printGoal("speed-up over one serial reader", serial.wall / many.wall, ">= 8x",
              serial.wall >= 8 * many.wall);
    const Timing plainShare = scanPerFile(plain, workers, 2, true);
    std::printf(" Plain 12-MP pictures (%d files):\n", plainFileCount);
    printTiming("scan on the share", plainShare, localPlain);
    printGoal("share / warm local disk, processor-bound", plainShare.wall / localPlain.wall,
              "<= 1.2x", plainShare.wall <= 1.2 * localPlain.wall);
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedHeapForReuse(); // as the program does
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
    const WarmTimings fast = measureWarm(camera, workers, 9, fastFloorRound);
    std::printf("\nExif thumbnails (%d files):\n", cameraFileCount);
    printTiming("floor: GetThumb to memory + decode 160x120", fast.floor, fast.floor);
    printTiming("scan, one thread", fast.one, fast.floor);
    printTiming("scan, worker threads", fast.workers, fast.floor);
    printGoal("one thread / floor", fast.one.wall / fast.floor.wall, "<= 1.17x",
              fast.one.wall <= 1.17 * fast.floor.wall);
    printGoal("worker threads / floor", fast.workers.wall / fast.floor.wall, "<= 0.76x",
              fast.workers.wall <= 0.76 * fast.floor.wall);

    const WarmTimings slow = measureWarm(plain, workers, 3, slowFloorRound);
    const Timing slowTwo = slow.workers;
    std::printf("\nPlain 12-MP pictures (%d files):\n", plainFileCount);
    printTiming("floor: read + 1/8 DCT decode, one core", slow.floor, slow.floor);
    printTiming("scan, one thread", slow.one, slow.floor);
    printTiming("scan, worker threads", slowTwo, slow.floor);
    std::printf("  speed-up of the worker threads over the one-core floor: %.2fx (wall)\n",
                slow.floor.wall / slowTwo.wall);
    std::printf("load average after: %s\n", loadAverage().constData());

    measureRememberedThumbnails(plain, workers, slowTwo);
    measureColdDisk(camera, workers);
    measureShare(cache, workers, slowTwo);

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
