// Measures `rotate --auto` (the program's per-file steps with the turn taken from the
// Orientation tag, here 6, and every tag set to 1 after) on camera-like 12-megapixel files
// against `jpegtran -rotate 90 -copy all` on the same files in the same run, one file at a
// time on one thread each; and on files already upright, which are to cost no more than
// reading their header.
//
//   autorotate_bench [cache folder]

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench/benchsupport.h"
#include "bench/plainpictures.h"
#include "bench/rotateround.h"
#include "core/rotate/rotatefile.h"
#include "exif/orientationfields.h"
#include "platform/spinwellloader.h"

namespace
{

constexpr int kFileCount = 100;
constexpr int kRounds = 2;

// The camera picture with its IFD0 YCbCrPositioning entry (SHORT 2) taken over by
// Orientation 6: the header keeps its size, and the engine's tables stay as they are.
QByteArray turnedQuarterRight(QByteArray jpeg)
{
    const QByteArray little("\x13\x02\x03\x00\x01\x00\x00\x00\x02\x00", 10);
    const QByteArray big("\x02\x13\x00\x03\x00\x00\x00\x01\x00\x02", 10);
    if (const qsizetype at = jpeg.indexOf(little); at >= 0)
        return jpeg.replace(at, little.size(),
                            QByteArray("\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00", 10));
    if (const qsizetype at = jpeg.indexOf(big); at >= 0)
        return jpeg.replace(at, big.size(),
                            QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06", 10));
    return {};
}

// rotate --auto --no-backup.
RotateSettings automatic()
{
    RotateSettings settings;
    settings.asShown = true;
    settings.leaveUpright = true;
    settings.keepBackup = false;
    return settings;
}

double headerRound(const QStringList &paths)
{
    const auto start = Clock::now();
    qint64 bytes = 0;
    for (const QString &path : paths)
        bytes += readJpegHeader(path).size();
    if (bytes == 0)
        std::fprintf(stderr, "no header read\n");
    return millisecondsSince(start);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const auto [cacheFolder, velmorRot, upright] = loadRotationSource(argc, argv);
    if (!velmorRot || upright.isEmpty())
        return 1;
    const QByteArray sideways = turnedQuarterRight(upright);
    if (sideways.isEmpty()) {
        std::fprintf(stderr, "cannot make the sideways picture\n");
        return 1;
    }
    std::printf("source: %d x %d Exif JPEG with thumbnail and Orientation 6, %.2f MB; %d files "
                "per round, best of %d rounds\n",
                kPlainWidth, kPlainHeight, sideways.size() / 1e6, kFileCount, kRounds);

    double bestAuto = 1e300, bestJpegtran = 1e300, bestUpright = 1e300, bestHeader = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        // Beside the cache, so that the pictures lie on the disk a user's folder would.
        QTemporaryDir pictures(cacheFolder + QStringLiteral("/autorotate-XXXXXX"));
        const QStringList paths = fillFolder(pictures.path(), sideways, kFileCount);
        bestJpegtran = std::min(bestJpegtran, jpegtranQuarterTurnRound(paths));
        bestAuto =
            std::min(bestAuto, rotationRound(paths, velmorRot, automatic(), RotateOutcome::Turned));
        // Now upright: the same files again are left as they are.
        bestHeader = std::min(bestHeader, headerRound(paths));
        bestUpright = std::min(
            bestUpright, rotationRound(paths, velmorRot, automatic(), RotateOutcome::Upright));
    }
    const double perFile = bestAuto / kFileCount, peerPerFile = bestJpegtran / kFileCount;
    std::printf("rotate --auto: %8.2f ms per file (Orientation 6, thumbnail regenerated, "
                "replaced on disk)\n",
                perFile);
    std::printf("jpegtran:      %8.2f ms per file (-rotate 90 -copy all)\n", peerPerFile);
    std::printf("ratio:         %8.2f x jpegtran (goal: within 1.3 x)\n", perFile / peerPerFile);
    std::printf("upright file:  %8.3f ms per file, reading its header %8.3f ms (goal: no more)\n",
                bestUpright / kFileCount, bestHeader / kFileCount);
    return 0;
}
