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
#include <QTemporaryDir>

#include "bench/benchsupport.h"
#include "bench/plainpictures.h"
#include "bench/rotateround.h"
#include "core/rotate/rotatefile.h"
#include "platform/spinwellloader.h"

namespace
{

constexpr int kFileCount = 100;
constexpr int kRounds = 3;

RotateSettings quarterTurnRight()
{
    RotateSettings settings;
    settings.code = 1;
    settings.keepBackup = false;
    return settings;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const auto [cacheFolder, velmorRot, jpeg] = loadRotationSource(argc, argv);
    if (!velmorRot || jpeg.isEmpty())
        return 1;
    std::printf("source: %d x %d Exif JPEG with thumbnail, %.2f MB; %d files per round, "
                "best of %d rounds\n",
                kPlainWidth, kPlainHeight, jpeg.size() / 1e6, kFileCount, kRounds);

    double bestRotation = 1e300, bestJpegtran = 1e300;
    qint64 residentAfterFirst = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Beside the cache, so that the pictures lie on the disk a user's folder would.
        QTemporaryDir pictures(cacheFolder + QStringLiteral("/rotate-XXXXXX"));
        const QStringList paths = fillFolder(pictures.path(), jpeg, kFileCount);
        bestJpegtran = std::min(bestJpegtran, jpegtranQuarterTurnRound(paths));
        bestRotation = std::min(bestRotation, rotationRound(paths, velmorRot, quarterTurnRight(),
                                                            RotateOutcome::Turned));
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
