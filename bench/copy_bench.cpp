// Measures copying a folder of camera-size files (3 MB each) into another folder of the same
// file system through the program's copy run (work file, kernel copy, renamed into place, marks
// carried, folder synced) against `cp` on the same files in the same run: `cp` alone, and `cp`
// followed by `sync` of the copies, the cost of putting them on disk, which the program does
// only for a copy that replaces a file or whose source a move removes.
//
//   copy_bench [cache folder]

#include <algorithm>
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/benchsupport.h"
#include "bench/plainpictures.h"
#include "core/fileops/filetransfer.h"
#include "platform/fileattributes.h"
#include "platform/jpg2exifattributes.h"

namespace
{

constexpr int kFileCount = 100;
constexpr int kFileBytes = 3 * 1024 * 1024;
constexpr int kRounds = 5;

// Bytes that no file system compresses or shares.
QByteArray cameraSizeBytes()
{
    QByteArray bytes(kFileBytes, Qt::Uninitialized);
    quint32 noise = 12345;
    for (char &byte : bytes) {
        noise = noise * 1664525u + 1013904223u;
        byte = char(noise >> 24);
    }
    return bytes;
}

double runTimed(const QString &program, const QStringList &arguments)
{
    const auto start = Clock::now();
    if (QProcess::execute(program, arguments) != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
    return millisecondsSince(start);
}

QStringList targetsOf(const QStringList &paths, const QString &folder)
{
    QStringList targets;
    for (const QString &path : paths)
        targets.append(folder + u'/' + QFileInfo(path).fileName());
    return targets;
}

double cpRound(const QStringList &paths, const QString &destination, bool sync)
{
    double elapsed = runTimed(QStringLiteral("cp"), paths + QStringList{destination});
    if (sync)
        elapsed += runTimed(QStringLiteral("sync"), targetsOf(paths, destination));
    return elapsed;
}

double transferRound(const QString &source, const QStringList &paths, const QString &destination)
{
    const Jpg2ExifPorts attributes = jpg2ExifAttributePorts();
    const TransferPorts ports{[](int, int) {},
                              [] { return true; },
                              [](const QString &) { return OverwriteAnswer::No; },
                              attributes.readAttributes,
                              attributes.writeAttributes,
                              listPrivateAheadStep,
                              [](const QString &path) { forgetHiddenEntry(path); },
                              [](const QString &path, const StepError &error) {
                                  std::fprintf(stderr, "%s: %s\n", qPrintable(path),
                                               qPrintable(error.description));
                              }};
    QStringList names;
    for (const QString &path : paths)
        names.append(QFileInfo(path).fileName());
    const auto start = Clock::now();
    const TransferSummary summary = transferPictures(
        {TransferKind::Copy, source, names, destination, QStringLiteral("Original")}, ports);
    const double elapsed = millisecondsSince(start);
    if (summary.done != int(paths.size()))
        std::fprintf(stderr, "copied %d of %lld\n", summary.done, qint64(paths.size()));
    return elapsed;
}

// A fresh empty destination beside the source, so each round writes new files.
double inFreshFolder(const QString &cacheFolder, const std::function<double(const QString &)> &run)
{
    QTemporaryDir destination(cacheFolder + QStringLiteral("/copy-dest-XXXXXX"));
    return run(destination.path());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QString cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    QDir().mkpath(cacheFolder);
    QTemporaryDir source(cacheFolder + QStringLiteral("/copy-source-XXXXXX"));
    const QStringList paths = fillFolder(source.path(), cameraSizeBytes(), kFileCount);
    std::printf("%d files of %.1f MB, one file system, best of %d rounds\n", kFileCount,
                kFileBytes / 1e6, kRounds);

    double program = 1e300, cp = 1e300, cpSync = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        cp = std::min(cp, inFreshFolder(cacheFolder, [&](const QString &to) {
                          return cpRound(paths, to, false);
                      }));
        cpSync = std::min(cpSync, inFreshFolder(cacheFolder, [&](const QString &to) {
                              return cpRound(paths, to, true);
                          }));
        program = std::min(program, inFreshFolder(cacheFolder, [&](const QString &to) {
                               return transferRound(source.path(), paths, to);
                           }));
    }
    std::printf("copy run:  %8.1f ms (work file, renamed into place)\n", program);
    std::printf("cp:        %8.1f ms\n", cp);
    std::printf("cp + sync: %8.1f ms (the copies put on disk)\n", cpSync);
    std::printf("ratio:     %8.2f x cp (goal: within 1.1 x), %.2f x cp + sync\n", program / cp,
                program / cpSync);
    return 0;
}
