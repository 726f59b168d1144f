// Measures the folder scan as the user meets it: the main window's displayThumb on the
// offscreen platform, with its status texts, progress bar and list model, against the floors
// of the scan's two paths, and the resident memory a 10,000-picture listing costs per picture.
//
//   scan_window_bench [cache folder]
//
// The pictures are the scan benchmark's (camera/, plain/, large/ in the cache folder),
// generated the first time.

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "bench/benchsupport.h"
#include "bench/scanpictures.h"
#include "core/scan/heapreuse.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "ui/main/form1.h"

namespace
{

// The window's own scan, best of three, per listed picture.
double windowScanPerFile(Form1 &form, const QString &folder)
{
    int listed = 0;
    const Timing total = bestOf(3, [&] {
        form.displayThumb(folder);
        listed = form.thumbnailModel()->rowCount();
    });
    if (listed == 0)
        std::printf("  %s: nothing listed\n", qPrintable(folder));
    return perFile(total, listed).wall;
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedHeapForReuse(); // as the program does
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    const QString cache =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE "/scan3");
    if (!prepareScanPictures(cache)) {
        std::fprintf(stderr, "cannot generate the pictures in %s\n", qPrintable(cache));
        return 1;
    }
    const QString camera = cache + QStringLiteral("/camera/");
    const QString plain = cache + QStringLiteral("/plain/");
    const QString large = cache + QStringLiteral("/large/");

    QTemporaryDir storeFolder;
    QSettings store(storeFolder.filePath(QStringLiteral("Tabilo.conf")), QSettings::IniFormat);
    Form1 form(store);
    appSettings().general.Jpg2Exif = 1; // the folder is measured, not converted
    appSettings().general.gNoVisible = 1;

    for (const QString &path : picturePaths(camera) + picturePaths(plain))
        readAll(path); // warm the page cache

    const double fastFloor = fastFloorPerFile(picturePaths(camera), 3).wall;
    const double fastScan = windowScanPerFile(form, camera);
    std::printf("Exif thumbnails (%d files), through Form1::displayThumb:\n", cameraFileCount);
    std::printf("  floor (GetThumb to memory + decode 160x120, one core)  %8.4f ms/file\n",
                fastFloor);
    std::printf("  window scan                                            %8.4f ms/file  "
                "ratio %.2f (goal <= 1.5)\n",
                fastScan, fastScan / fastFloor);

    const double slowFloor = slowFloorPerFile(picturePaths(plain), 3).wall;
    const double processorBefore = processCpuMilliseconds();
    const auto wallBefore = Clock::now();
    const double slowScan = windowScanPerFile(form, plain);
    const double busyCores =
        (processCpuMilliseconds() - processorBefore) / millisecondsSince(wallBefore);
    std::printf("\nPlain 12-MP pictures (%d files), through Form1::displayThumb:\n",
                plainFileCount);
    std::printf("  floor (read + 1/8 DCT decode, one core)                %8.3f ms/file\n",
                slowFloor);
    std::printf("  window scan                                            %8.3f ms/file  "
                "ratio %.2f (goal <= 1.5)\n",
                slowScan, slowScan / slowFloor);
    std::printf(
        "  faster than the one-core floor: %.2fx (goal >= 1.7); cores kept busy %.2f of %d\n",
        slowFloor / slowScan, busyCores, QThread::idealThreadCount());

    // A small folder first, so that everything a scan loads once is loaded before measuring.
    form.displayThumb(plain);
    const qint64 before = residentKilobytes();
    const auto start = Clock::now();
    form.displayThumb(large);
    const double largeMs = millisecondsSince(start);
    const int listed = form.thumbnailModel()->rowCount();
    const qint64 after = residentKilobytes();
    std::printf("\n%d-picture listing: %.1f s, %.4f ms/file\n", listed, largeMs / 1000,
                largeMs / std::max(1, listed));
    std::printf("  resident size %lld KB -> %lld KB: %.2f KB per picture (goal <= 25)\n", before,
                after, double(after - before) / std::max(1, listed));
    return 0;
}
