#include "bench/benchsupport.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <turbojpeg.h>

#include "exif/exifthumb.h"

namespace
{

// Decodes with plain TurboJPEG at the given scale: the least any reader must do.
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

} // namespace

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double processCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

Timing bestOf(int rounds, const std::function<void()> &run)
{
    return bestOf(
        rounds, [] {}, run);
}

Timing bestOf(int rounds, const std::function<void()> &prepare, const std::function<void()> &run)
{
    Timing best;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        const double cpuStart = processCpuMilliseconds();
        const auto start = Clock::now();
        run();
        best.wall = std::min(best.wall, millisecondsSince(start));
        best.cpu = std::min(best.cpu, processCpuMilliseconds() - cpuStart);
    }
    return best;
}

std::vector<Timing> bestOfEach(int rounds, const std::vector<std::function<void()>> &runs)
{
    std::vector<Timing> best(runs.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < runs.size(); ++i) {
            const Timing one = bestOf(1, runs[i]);
            best[i].wall = std::min(best[i].wall, one.wall);
            best[i].cpu = std::min(best[i].cpu, one.cpu);
        }
    }
    return best;
}

Timing perFile(Timing total, int files)
{
    return files > 0 ? Timing{total.wall / files, total.cpu / files} : Timing{0, 0};
}

QStringList picturePaths(const QString &folder)
{
    // QDir drops a trailing separator of `folder`, so both spellings give the same paths.
    const QDir dir(folder);
    QStringList paths;
    for (const QString &name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        paths.append(dir.filePath(name));
    return paths;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void evictFromPageCache(const QStringList &paths)
{
    for (const QString &path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

void fastFloorRound(const QStringList &paths)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels;
    for (const QString &path : paths) {
        QByteArray thumb;
        ExifThumb exifThumb;
        if (exifThumb.GetThumb(path, thumb) == 0 || !rawDecode(handle, thumb, 1, pixels))
            std::printf("fast floor: %s failed\n", qPrintable(path));
    }
    tjDestroy(handle);
}

Timing fastFloorPerFile(const QStringList &paths, int rounds)
{
    return perFile(bestOf(rounds, [&] { fastFloorRound(paths); }), int(paths.size()));
}

void slowFloorRound(const QStringList &paths)
{
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels;
    for (const QString &path : paths) {
        if (!rawDecode(handle, readAll(path), 8, pixels))
            std::printf("slow floor: %s failed\n", qPrintable(path));
    }
    tjDestroy(handle);
}

Timing slowFloorPerFile(const QStringList &paths, int rounds)
{
    return perFile(bestOf(rounds, [&] { slowFloorRound(paths); }), int(paths.size()));
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

void appendLittle16(QByteArray &out, quint16 value)
{
    out.append(char(value & 0xFF));
    out.append(char(value >> 8));
}

void appendLittle32(QByteArray &out, quint32 value)
{
    appendLittle16(out, quint16(value & 0xFFFF));
    appendLittle16(out, quint16(value >> 16));
}

double jpegtranQuarterTurnRound(const QStringList &paths)
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
