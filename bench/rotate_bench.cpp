// Measures turning a folder of camera-like 12-megapixel Exif files by a quarter turn through
// the program's per-file rotation steps (engine, new header with a regenerated thumbnail,
// the picture replaced on disk) against `jpegtran -rotate 90 -copy all` on the same files in
// the same run.
//
//   rotate_bench [cache folder]
//
// The source picture is generated once into the cache folder and reused.

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/benchsupport.h"
#include "bench/plainpictures.h"
#include "core/rotate/rotatefile.h"
#include "exif/jpegencoder.h"
#include "exif/jpgtoexif.h"
#include "platform/spinwellloader.h"

namespace
{

constexpr int kFileCount = 100;
constexpr int kRounds = 3;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Smooth colour fields with fine grain, as a photograph compresses.
QImage makePicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 29) - 4;
            line[x] = qRgb((x * 255 / kWidth + grain) & 0xFF, (y * 255 / kHeight + grain) & 0xFF,
                           ((x + y) * 127 / kWidth + grain) & 0xFF);
        }
    }
    return image;
}

// A camera-like file: the plain picture given an Exif header with a thumbnail.
QByteArray sourcePicture(const QString &cacheFolder)
{
    const QString path = cacheFolder + QStringLiteral("/rotate-camera-4000x3000.jpg");
    if (QByteArray cached = readAll(path); !cached.isEmpty())
        return cached;
    QDir().mkpath(cacheFolder);
    QTemporaryDir work;
    const QString plain = work.filePath(QStringLiteral("plain.jpg"));
    QFile out(plain);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(encodeJpeg(makePicture(), kWidth, kHeight, 92)) < 0)
        return {};
    out.close();
    const ExifBuild build = MakeExifFile(plain, 90, work.path() + u'/');
    if (!build.ok() || !QFile::copy(build.path, path))
        return {};
    return readAll(path);
}

double jpegtranRound(const QStringList &paths)
{
    const auto start = Clock::now();
    for (const QString &path : paths) {
        const int status =
            QProcess::execute(QStringLiteral("jpegtran"),
                              {QStringLiteral("-rotate"), QStringLiteral("90"),
                               QStringLiteral("-copy"), QStringLiteral("all"),
                               QStringLiteral("-outfile"), path + QStringLiteral(".jt"), path});
        if (status != 0)
            std::fprintf(stderr, "jpegtran failed on %s\n", qPrintable(path));
    }
    return millisecondsSince(start);
}

double rotationRound(const QStringList &paths, const VelmorRotPort &velmorRot)
{
    RotateSettings settings;
    settings.code = 1;
    settings.keepBackup = false;
    const RotatePorts ports{velmorRot, [](const QString &) { return true; }, [] {},
                            [](const QString &, int &attributes) {
                                attributes = 0;
                                return StepError::none();
                            },
                            [](const QString &, int) { return StepError::none(); }};
    const auto start = Clock::now();
    for (const QString &path : paths) {
        const RotateFileResult result = rotateOneFile(path, settings, ports);
        if (result.outcome != RotateOutcome::Turned)
            std::fprintf(stderr, "%s: %d %s\n", qPrintable(path), result.code,
                         qPrintable(result.reason));
    }
    return millisecondsSince(start);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QString cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    QString error;
    const VelmorRotPort velmorRot = loadVelmorRot(&error);
    const QByteArray jpeg = sourcePicture(cacheFolder);
    if (!velmorRot || jpeg.isEmpty()) {
        std::fprintf(stderr, "cannot prepare: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("source: %d x %d Exif JPEG with thumbnail, %.2f MB; %d files per round, "
                "best of %d rounds\n",
                kWidth, kHeight, jpeg.size() / 1e6, kFileCount, kRounds);

    double bestRotation = 1e300, bestJpegtran = 1e300;
    qint64 residentAfterFirst = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Beside the cache, so that the pictures lie on the disk a user's folder would.
        QTemporaryDir pictures(cacheFolder + QStringLiteral("/rotate-XXXXXX"));
        const QStringList paths = fillFolder(pictures.path(), jpeg, kFileCount);
        bestJpegtran = std::min(bestJpegtran, jpegtranRound(paths));
        bestRotation = std::min(bestRotation, rotationRound(paths, velmorRot));
        if (round == 0)
            residentAfterFirst = residentKilobytes();
    }
    const double perFile = bestRotation / kFileCount, peerPerFile = bestJpegtran / kFileCount;
    std::printf("rotation: %8.2f ms per file (thumbnail regenerated, replaced on disk)\n", perFile);
    std::printf("jpegtran: %8.2f ms per file (-rotate 90 -copy all)\n", peerPerFile);
    std::printf("ratio:    %8.2f x jpegtran (goal: within 1.3 x)\n", perFile / peerPerFile);
    // Every buffer of a turn is freed: the later rounds must not grow the process.
    std::printf("resident: %lld kB after the first round, %lld kB after the last\n",
                residentAfterFirst, residentKilobytes());
    return 0;
}
