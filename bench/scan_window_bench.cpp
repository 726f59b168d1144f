// Measures the folder scan as the user meets it: the main window's displayThumb on the
// offscreen platform, with its status texts, progress bar and list model, against the floors
// of the scan's two paths, and the resident memory a 10,000-picture listing costs per picture.
//
//   scan_window_bench [cache folder]
//
// The pictures are the scan benchmark's (camera/, plain/, large/ in the cache folder); when
// they are missing, scan_bench is run once to generate them.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>
#include <turbojpeg.h>

#include "app/form1.h"
#include "app/settings.h"
#include "app/thumbnaillistmodel.h"
#include "exif/exifthumb.h"

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int cameraFileCount = 1000;
constexpr int plainFileCount = 100;
constexpr int largeListingCount = 10000;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double bestOf(int rounds, const std::function<void()> &run)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, millisecondsSince(start));
    }
    return best;
}

QStringList picturePaths(const QString &folder)
{
    QStringList paths;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        paths.append(folder + name);
    return paths;
}

bool picturesPresent(const QString &cache)
{
    return picturePaths(cache + QStringLiteral("/camera/")).size() == cameraFileCount &&
           picturePaths(cache + QStringLiteral("/plain/")).size() == plainFileCount &&
           picturePaths(cache + QStringLiteral("/large/")).size() == largeListingCount;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Plain TurboJPEG at the given scale: the least any reader must do.
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

// Floor of the fast path: the Exif thumbnail copied out to memory and decoded, one core.
double fastFloorPerFile(const QStringList &paths)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels;
    const double ms = bestOf(3, [&] {
        for (const QString &path : paths) {
            QByteArray thumb;
            ExifThumb exifThumb;
            if (exifThumb.GetThumb(path, thumb) == 0 || !rawDecode(handle, thumb, 1, pixels))
                std::printf("fast floor: %s failed\n", qPrintable(path));
        }
    });
    tjDestroy(handle);
    return ms / paths.size();
}

// Floor of the slow path: the file read and decoded at 1/8 scale, one core.
double slowFloorPerFile(const QStringList &paths)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels;
    const double ms = bestOf(3, [&] {
        for (const QString &path : paths) {
            if (!rawDecode(handle, readAll(path), 8, pixels))
                std::printf("slow floor: %s failed\n", qPrintable(path));
        }
    });
    tjDestroy(handle);
    return ms / paths.size();
}

// The window's own scan, best of three, per listed picture.
double windowScanPerFile(Form1 &form, const QString &folder)
{
    int listed = 0;
    const double ms = bestOf(3, [&] {
        form.displayThumb(folder);
        listed = form.thumbnailModel()->rowCount();
    });
    if (listed == 0)
        std::printf("  %s: nothing listed\n", qPrintable(folder));
    return listed > 0 ? ms / listed : 0;
}

// Processor time of the whole process (all threads), in milliseconds.
double processorMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
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
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    const QString cache =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE "/scan3");
    if (!picturesPresent(cache)) {
        std::printf("generating the pictures with scan_bench into %s ...\n", qPrintable(cache));
        QProcess::execute(QStringLiteral(TABILO_SCAN_BENCH), {cache});
        if (!picturesPresent(cache)) {
            std::fprintf(stderr, "no pictures in %s\n", qPrintable(cache));
            return 1;
        }
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

    const double fastFloor = fastFloorPerFile(picturePaths(camera));
    const double fastScan = windowScanPerFile(form, camera);
    std::printf("Exif thumbnails (%d files), through Form1::displayThumb:\n", cameraFileCount);
    std::printf("  floor (GetThumb to memory + decode 160x120, one core)  %8.4f ms/file\n",
                fastFloor);
    std::printf("  window scan                                            %8.4f ms/file  "
                "ratio %.2f (goal <= 1.5)\n",
                fastScan, fastScan / fastFloor);

    const double slowFloor = slowFloorPerFile(picturePaths(plain));
    const double processorBefore = processorMilliseconds();
    const auto wallBefore = Clock::now();
    const double slowScan = windowScanPerFile(form, plain);
    const double busyCores =
        (processorMilliseconds() - processorBefore) / millisecondsSince(wallBefore);
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
