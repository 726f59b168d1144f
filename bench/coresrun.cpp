#include "bench/coresrun.h"

#include <chrono>
#include <cstdio>

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "bench/plainpictures.h"

extern char **environ;

namespace
{

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double seconds(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double cpuSeconds(const rusage &usage)
{
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool pinToCores(int cores)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int core = 0; core < cores; ++core)
        CPU_SET(core, &set);
    return ::sched_setaffinity(0, sizeof set, &set) == 0;
}

} // namespace

CoresRun floorRun(const QStringList &paths, const std::function<bool(const QString &)> &oneFile)
{
    if (!pinToCores(1))
        std::fprintf(stderr, "cannot hold the floor to one core\n");
    rusage before{}, after{};
    ::getrusage(RUSAGE_THREAD, &before);
    const auto start = Clock::now();
    for (const QString &path : paths) {
        if (!oneFile(path))
            std::fprintf(stderr, "floor failed on %s\n", qPrintable(path));
    }
    CoresRun run{secondsSince(start), 0};
    ::getrusage(RUSAGE_THREAD, &after);
    run.coresBusy = (cpuSeconds(after) - cpuSeconds(before)) / run.wall;
    pinToCores(CPU_SETSIZE);
    return run;
}

CoresRun cliRun(const char *cores, const QList<QByteArray> &arguments, const QStringList &paths)
{
    QList<QByteArray> command = QList<QByteArray>{"taskset", "-c", cores, TABILO_CLI} + arguments;
    for (const QString &path : paths)
        command.append(QFile::encodeName(path));
    QList<char *> argv;
    for (QByteArray &argument : command)
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
        std::fprintf(stderr, "taskset -c %s tabilo-cli %s failed\n", cores,
                     arguments.value(0).constData());
        return {};
    }
    const double wall = secondsSince(start);
    return {wall, cpuSeconds(usage) / wall};
}

void printCoresRun(const char *what, const CoresRun &run, int files)
{
    std::printf("%-28s %8.2f ms per file, %.2f cores busy\n", what, run.wall * 1000 / files,
                run.coresBusy);
}

bool hasTwoCores()
{
    return ::sysconf(_SC_NPROCESSORS_ONLN) >= 2;
}

QStringList freshPictures(const QString &folder, const QByteArray &jpeg, int count)
{
    const QStringList paths = fillFolder(folder, jpeg, count);
    ::sync();
    return paths;
}

CoresComparison compareCores(const QString &cacheFolder, const QByteArray &jpeg, int count,
                             int rounds, const std::function<CoresRun(const QStringList &)> &floor,
                             const QList<QByteArray> &arguments)
{
    CoresComparison runs;
    const QString pattern = cacheFolder + u'/' + QString::fromLatin1(arguments.first()) +
                            QStringLiteral("-cores-XXXXXX");
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir floorFolder(pattern), oneFolder(pattern), twoFolder(pattern);
        runs.floor.keepBest(floor(freshPictures(floorFolder.path(), jpeg, count)));
        runs.oneCore.keepBest(cliRun("0", arguments, freshPictures(oneFolder.path(), jpeg, count)));
        runs.twoCores.keepBest(
            cliRun("0,1", arguments, freshPictures(twoFolder.path(), jpeg, count)));
    }
    return runs;
}

void printCoresComparison(const CoresComparison &runs, const QByteArray &command, int files)
{
    printCoresRun("floor, one core:", runs.floor, files);
    printCoresRun((command + ", one core:").constData(), runs.oneCore, files);
    printCoresRun((command + ", two cores:").constData(), runs.twoCores, files);
    std::printf("one core against the floor: %.2f x (goal: within 1.1 x)\n",
                runs.oneCore.wall / runs.floor.wall);
    std::printf("two cores against one core: %.2f x faster (goal: at least 1.7 x)\n",
                runs.oneCore.wall / runs.twoCores.wall);
}
