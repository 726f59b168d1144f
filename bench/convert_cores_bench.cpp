// Measures `tabilo-cli convert` over a folder of plain 12-megapixel JPEG files
// on two cores against the same run held to one core (taskset -c 0), and the
// one-core run against its floor: a bare loop on that core doing the same
// work per file (read, 1/8 DCT-scaled decode, 160 x 120 thumbnail, write the
// new file once).
//
//   convert_cores_bench [cache folder]
//
// Each figure is the best of its rounds; the rounds alternate the three runs,
// so that a disturbance from other programs hits them alike.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include "bench/plainpictures.h"

extern char **environ;

namespace
{

constexpr int kFileCount = 100;
constexpr int kRounds = 3;
constexpr int kThumbQuality = 90;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double seconds(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

// Wall time and the cores kept busy on average (CPU time over wall time).
struct Run {
    double wall = 1e300;
    double coresBusy = 0;

    void keepBest(const Run &other)
    {
        if (other.wall < wall)
            *this = other;
    }
};

// The floor for one file, on the calling thread.
bool floorOneFile(tjhandle decoder, tjhandle encoder, const QString &path)
{
    QByteArray jpeg;
    QImage decoded;
    if (!readAndDecodeEighth(decoder, path, jpeg, decoded))
        return false;
    const QImage thumb = decoded.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    unsigned char *encoded = nullptr;
    unsigned long encodedSize = 0;
    if (tjCompress2(encoder, thumb.constBits(), thumb.width(), int(thumb.bytesPerLine()),
                    thumb.height(), TJPF_BGRX, &encoded, &encodedSize, TJSAMP_420, kThumbQuality,
                    TJFLAG_ACCURATEDCT) != 0)
        return false;
    QFile out(path + QStringLiteral(".new"));
    const bool written = out.open(QIODevice::WriteOnly) &&
                         out.write(reinterpret_cast<const char *>(encoded), qint64(encodedSize)) ==
                             qint64(encodedSize) &&
                         out.write(jpeg) == jpeg.size();
    tjFree(encoded);
    return written;
}

bool pinToCores(int cores)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int core = 0; core < cores; ++core)
        CPU_SET(core, &set);
    return ::sched_setaffinity(0, sizeof set, &set) == 0;
}

Run floorRun(const QStringList &paths)
{
    if (!pinToCores(1))
        std::fprintf(stderr, "cannot hold the floor to one core\n");
    tjhandle decoder = tjInitDecompress();
    tjhandle encoder = tjInitCompress();
    rusage before{}, after{};
    ::getrusage(RUSAGE_THREAD, &before);
    const auto start = Clock::now();
    for (const QString &path : paths) {
        if (!floorOneFile(decoder, encoder, path))
            std::fprintf(stderr, "floor failed on %s\n", qPrintable(path));
    }
    Run run{secondsSince(start), 0};
    ::getrusage(RUSAGE_THREAD, &after);
    run.coresBusy = (seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) -
                     seconds(before.ru_stime)) /
                    run.wall;
    tjDestroy(encoder);
    tjDestroy(decoder);
    pinToCores(CPU_SETSIZE);
    return run;
}

// tabilo-cli convert over the files, held by taskset to the given cores; its
// output goes to /dev/null.
Run cliRun(const char *cores, const QStringList &paths)
{
    QList<QByteArray> arguments{"taskset", "-c", cores, TABILO_CLI, "convert"};
    for (const QString &path : paths)
        arguments.append(QFile::encodeName(path));
    QList<char *> argv;
    for (QByteArray &argument : arguments)
        argv.append(argument.data());
    argv.append(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const auto start = Clock::now();
    const int spawned = posix_spawnp(&child, "taskset", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || ::wait4(child, &status, 0, &usage) != child || status != 0) {
        std::fprintf(stderr, "taskset -c %s tabilo-cli convert failed\n", cores);
        return {};
    }
    Run run{secondsSince(start), 0};
    run.coresBusy = (seconds(usage.ru_utime) + seconds(usage.ru_stime)) / run.wall;
    return run;
}

// A fresh folder of plain copies, on disk before the timing starts.
QStringList freshPictures(const QTemporaryDir &folder, const QByteArray &jpeg)
{
    const QStringList paths = fillFolder(folder.path(), jpeg, kFileCount);
    ::sync();
    return paths;
}

void printRun(const char *what, const Run &run)
{
    std::printf("%-28s %8.2f ms per file, %.2f cores busy\n", what, run.wall * 1000 / kFileCount,
                run.coresBusy);
}

} // namespace

int main(int argc, char **argv)
{
    const QString cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    if (::sysconf(_SC_NPROCESSORS_ONLN) < 2) {
        std::printf("this machine has one core: nothing to compare\n");
        return 0;
    }
    const QByteArray jpeg = plainPicture(cacheFolder);
    double load[3] = {};
    ::getloadavg(load, 3);
    std::printf("%d plain %d x %d files (%.2f MB each), best of %d rounds; load average %.2f\n",
                kFileCount, kPlainWidth, kPlainHeight, jpeg.size() / 1e6, kRounds, load[0]);

    Run floor, oneCore, twoCores;
    for (int round = 0; round < kRounds; ++round) {
        // Beside the cache, so that the pictures lie on the disk a user's folder would.
        const QString pattern = cacheFolder + QStringLiteral("/convert-cores-XXXXXX");
        QTemporaryDir floorFolder(pattern), oneFolder(pattern), twoFolder(pattern);
        floor.keepBest(floorRun(freshPictures(floorFolder, jpeg)));
        oneCore.keepBest(cliRun("0", freshPictures(oneFolder, jpeg)));
        twoCores.keepBest(cliRun("0,1", freshPictures(twoFolder, jpeg)));
    }
    printRun("floor, one core:", floor);
    printRun("convert, one core:", oneCore);
    printRun("convert, two cores:", twoCores);
    std::printf("one core against the floor: %.2f x (goal: within 1.1 x)\n",
                oneCore.wall / floor.wall);
    std::printf("two cores against one core: %.2f x faster (goal: at least 1.7 x)\n",
                oneCore.wall / twoCores.wall);
    return 0;
}
