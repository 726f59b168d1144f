#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Timing, reading and the decoding floors shared by the scan benchmarks.

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start);

// CPU time of the whole process (all threads), in milliseconds.
double processCpuMilliseconds();

// Wall and CPU time of one run, in milliseconds.
struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

// The best of `rounds` runs of `run`. The machine is shared, so the best run
// is the one least disturbed by others; CPU time is less disturbed still.
Timing bestOf(int rounds, const std::function<void()> &run);
// The same with `prepare` run untimed before every round.
Timing bestOf(int rounds, const std::function<void()> &prepare, const std::function<void()> &run);

// The best of `rounds` runs of each of `runs`, run in turn: a slow spell of the shared
// machine then falls on all of them alike, and their ratios stay fair.
std::vector<Timing> bestOfEach(int rounds, const std::vector<std::function<void()>> &runs);

// `total` divided among `files`; zero when there are none.
Timing perFile(Timing total, int files);

// The *.jpg files of `folder`, by name.
QStringList picturePaths(const QString &folder);

QByteArray readAll(const QString &path);

// Drops the files' pages from the page cache (no root needed), so the next
// read comes from the disk or the share: a cold cache.
void evictFromPageCache(const QStringList &paths);

// Little-endian numbers, for the Exif headers the benchmarks write.
void appendLittle16(QByteArray &out, quint16 value);
void appendLittle32(QByteArray &out, quint32 value);

// Floor of the fast path: the Exif thumbnail copied out of the header into
// memory and decoded, on one core; one round, or the best of `rounds` per file.
void fastFloorRound(const QStringList &paths);
Timing fastFloorPerFile(const QStringList &paths, int rounds);

// Floor of the slow path: the file read and decoded at 1/8 scale, on one
// core; one round, or the best of `rounds` per file.
void slowFloorRound(const QStringList &paths);
Timing slowFloorPerFile(const QStringList &paths, int rounds);

// The resident size of this process, or -1 when it cannot be read.
qint64 residentKilobytes();

// `jpegtran -rotate 90 -copy all` on each file into FILE.jt, one process after another; the
// wall time in milliseconds.
double jpegtranQuarterTurnRound(const QStringList &paths);
