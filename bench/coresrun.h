#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What the benchmarks of a batch on two cores against one core share: the
// command line program held to cores by taskset, and the floor, a bare loop
// held to one core.

// Wall time and the cores kept busy on average (CPU time over wall time).
struct CoresRun {
    double wall = 1e300;
    double coresBusy = 0;

    void keepBest(const CoresRun &other)
    {
        if (other.wall < wall)
            *this = other;
    }
};

// oneFile over the files on the calling thread, held to the first core.
CoresRun floorRun(const QStringList &paths, const std::function<bool(const QString &)> &oneFile);

// tabilo-cli with the arguments, then the files, held by taskset to the given
// cores (as taskset -c takes them); its output goes to /dev/null.
CoresRun cliRun(const char *cores, const QList<QByteArray> &arguments, const QStringList &paths);

// "what: N ms per file, C cores busy".
void printCoresRun(const char *what, const CoresRun &run, int files);

// `count` copies of jpeg in folder, on disk before a timing starts; their paths.
QStringList freshPictures(const QString &folder, const QByteArray &jpeg, int count);

// Whether the machine has the two cores to compare.
bool hasTwoCores();

// The floor and tabilo-cli on one core and on two, each the best of its rounds. The rounds
// alternate the three runs, so that a disturbance from other programs hits them alike.
struct CoresComparison {
    CoresRun floor;
    CoresRun oneCore;
    CoresRun twoCores;
};

// `rounds` rounds, each over fresh copies (`count`) of jpeg in folders beside the cache, so that
// the pictures lie on the disk a user's folder would: `floor` over its copies, then
// `tabilo-cli arguments` held to core 0, then to cores 0 and 1.
CoresComparison compareCores(const QString &cacheFolder, const QByteArray &jpeg, int count,
                             int rounds, const std::function<CoresRun(const QStringList &)> &floor,
                             const QList<QByteArray> &arguments);

// The three runs, named after the command (arguments' first), and the two ratios with their goals.
void printCoresComparison(const CoresComparison &runs, const QByteArray &command, int files);
