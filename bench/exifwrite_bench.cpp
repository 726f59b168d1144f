// Measures converting a folder of plain 12-megapixel JPEG files into Exif
// files against its floor: a 1/8 DCT-scaled decode of each file plus copying
// its bytes once, which any conversion that draws a thumbnail and keeps the
// picture data must do.
//
//   exifwrite_bench [cache folder]
//
// The source picture is generated once into the cache folder and reused.

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <QFile>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include "bench/plainpictures.h"
#include "exif/jpgtoexifrun.h"

namespace
{

constexpr int kFileCount = 100;
constexpr int kRounds = 3;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The floor for one file: read it, decode it at 1/8 scale, write its bytes once.
bool floorOneFile(tjhandle decoder, const QString &path, QImage &pixels)
{
    QByteArray jpeg;
    if (!readAndDecodeEighth(decoder, path, jpeg, pixels))
        return false;
    QFile out(path + QStringLiteral(".copy"));
    return out.open(QIODevice::WriteOnly) && out.write(jpeg) == jpeg.size();
}

double floorRound(const QStringList &paths)
{
    tjhandle decoder = tjInitDecompress();
    QImage pixels;
    const auto start = Clock::now();
    for (const QString &path : paths) {
        if (!floorOneFile(decoder, path, pixels))
            std::fprintf(stderr, "floor failed on %s\n", qPrintable(path));
    }
    const double elapsed = millisecondsSince(start);
    tjDestroy(decoder);
    return elapsed;
}

double conversionRound(const QStringList &paths, const QString &workFolder, int &converted)
{
    Jpg2ExifOptions options;
    options.quality = 90;
    options.workFolder = workFolder;
    Jpg2ExifPorts ports;
    ports.readAttributes = [](const QString &, int &attributes) {
        attributes = 0;
        return StepError::none();
    };
    ports.writeAttributes = [](const QString &, int) { return StepError::none(); };
    ports.log = [](const QString &label, const StepError &error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(label), qPrintable(error.description));
    };
    ports.progress = [](int, int) {};
    ports.keepRunning = [] { return true; };
    ports.fileDone = [](const QString &, Jpg2ExifOutcome, const QString &) {};
    const auto start = Clock::now();
    converted = runJpg2Exif(paths, options, ports).converted;
    return millisecondsSince(start);
}

} // namespace

int main(int argc, char **argv)
{
    const QString cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    const QByteArray jpeg = plainPicture(cacheFolder);
    std::printf("source: %d x %d plain JPEG, %.2f MB; %d files per round, best of %d rounds\n",
                kPlainWidth, kPlainHeight, jpeg.size() / 1e6, kFileCount, kRounds);

    double bestConversion = 1e300, bestFloor = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        // Beside the cache, so that the pictures lie on the disk a user's folder would.
        QTemporaryDir pictures(cacheFolder + QStringLiteral("/exifwrite-XXXXXX"));
        QTemporaryDir work;
        const QStringList paths = fillFolder(pictures.path(), jpeg, kFileCount);
        bestFloor = std::min(bestFloor, floorRound(paths));
        int converted = 0;
        bestConversion = std::min(
            bestConversion, conversionRound(paths, work.path() + QLatin1Char('/'), converted));
        if (converted != kFileCount)
            std::fprintf(stderr, "only %d of %d files converted\n", converted, kFileCount);
    }
    const double perFile = bestConversion / kFileCount, floorPerFile = bestFloor / kFileCount;
    std::printf("conversion: %8.2f ms per file\n", perFile);
    std::printf("floor:      %8.2f ms per file (1/8 decode + one copy)\n", floorPerFile);
    std::printf("ratio:      %8.2f x the floor (goal: within 1.5 x)\n", perFile / floorPerFile);
    return 0;
}
