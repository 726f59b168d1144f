// Measures renaming a folder of 1,000 camera pictures to their shooting date (the run of the
// rename dialog and of `tabilo-cli rename-by-date`, private marks carried) against the floor of
// reading each file's Exif header alone, in the same run. Every tenth picture shares its
// second with the one before, so the numbered names are part of the work. Both are measured
// with the pictures' pages in the cache and read from the disk (a folder opened for the first
// time). With the pages cached, a rename costs the file system more than a header read, so the
// run is also set against the header read plus one bare rename per picture.
//
//   rename_bench [cache folder]
//
// The pictures (an Exif header with the date, then a 2-megapixel picture) are generated once
// into the cache folder; each round renames hard links to them in a fresh folder beside it.

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "bench/benchsupport.h"
#include "core/rename/daterename.h"
#include "core/rename/foldernames.h"
#include "exif/exifdata.h"
#include "exif/jpegencoder.h"
#include "platform/hiddenmarkcarrier.h"

namespace
{

constexpr int kFileCount = 1000;
constexpr int kRounds = 5;

// SOI and an Exif APP1 segment whose IFD0 holds only DateTime.
QByteArray dateHeader(const QByteArray &date)
{
    QByteArray tiff("II*\0", 4);
    appendLittle32(tiff, 8);
    appendLittle16(tiff, 1);
    appendLittle16(tiff, 0x0132);
    appendLittle16(tiff, 2);
    appendLittle32(tiff, 20);
    appendLittle32(tiff, 8 + 2 + 12 + 4);
    appendLittle32(tiff, 0);
    tiff.append(date).append('\0');
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray header("\xFF\xD8\xFF\xE1", 4);
    header.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    return header + payload;
}

QByteArray dateOf(int index)
{
    const int second = index - index / 10; // every tenth shares the second before it
    return QStringLiteral("2009:05:01 %1:%2:%3")
        .arg(10 + second / 3600, 2, 10, QLatin1Char('0'))
        .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(second % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QString nameOf(int index)
{
    return QStringLiteral("DSC%1.jpg").arg(index, 5, 10, QLatin1Char('0'));
}

bool prepareSources(const QString &folder)
{
    if (picturePaths(folder).size() == kFileCount)
        return true;
    std::printf("generating %d pictures into %s ...\n", kFileCount, qPrintable(folder));
    QDir().mkpath(folder);
    QImage picture(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * y) & 0xFF));
    }
    const QByteArray body = encodeJpeg(picture, picture.width(), picture.height(), 92).mid(2);
    for (int i = 0; i < kFileCount; ++i) {
        QFile file(folder + u'/' + nameOf(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(dateHeader(dateOf(i)) + body) < 0)
            return false;
    }
    return true;
}

// Hard links to the sources in a fresh folder; their names in list order.
QStringList linkSources(const QString &sources, const QString &work)
{
    QStringList names;
    for (int i = 0; i < kFileCount; ++i) {
        names.append(nameOf(i));
        if (::link(QFile::encodeName(sources + u'/' + names.last()).constData(),
                   QFile::encodeName(work + names.last()).constData()) != 0)
            return {};
    }
    return names;
}

// Drops the pictures' pages from the page cache, so that the next read comes from the disk
// as on a folder opened for the first time (the links share the sources' pages).
void evictSources(const QString &sources)
{
    for (const QString &path : picturePaths(sources)) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// The least a rename of every picture costs: one rename each, nothing read.
void renameOnly(const QString &folder, const QStringList &names)
{
    for (const QString &name : names)
        ::rename(QFile::encodeName(folder + name).constData(),
                 QFile::encodeName(folder + u'x' + name).constData());
}

int renameFolder(const QString &folder, const QStringList &names)
{
    FolderNames entries(folder);
    HiddenMarkCarrier marks(folder);
    DateRenamePorts ports;
    ports.progress = [](int) {};
    ports.renamed = [](int, const QString &) {};
    ports.keepMark = std::bind_front(&HiddenMarkCarrier::rename, &marks);
    ports.log = [](const QString &label, const StepError &error) {
        std::printf("logged: %s %s\n", qPrintable(label), qPrintable(error.description));
    };
    return renameToShootingDate(folder, names, entries, ports);
}

void readHeaders(const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        ExifData exif;
        exif.SetExif(folder + name);
        if (exif.DateExif().isEmpty())
            std::printf("no date in %s\n", qPrintable(name));
    }
}

} // namespace

struct Measured {
    Timing read;
    Timing run;
    Timing renameOnly;
    int renamed = 0;
};

Timing best(Timing a, Timing b)
{
    return {std::min(a.wall, b.wall), std::min(a.cpu, b.cpu)};
}

// One round: the header read, the run and the bare renames, each on a fresh folder of links,
// with the pictures' pages in the cache (warm) or not (cold).
bool measureRound(const QString &cache, const QString &sources, bool cold, Measured &measured)
{
    const auto timed = [&](const std::function<void(const QString &, const QStringList &)> &step) {
        QTemporaryDir work(cache + QStringLiteral("/work-XXXXXX"));
        const QString folder = work.path() + u'/';
        const QStringList names = linkSources(sources, folder);
        if (names.isEmpty())
            return Timing{-1, -1};
        if (cold)
            evictSources(sources);
        return bestOf(1, [&] { step(folder, names); });
    };
    const Timing read = timed(readHeaders);
    const Timing run = timed([&](const QString &folder, const QStringList &names) {
        measured.renamed = renameFolder(folder, names);
    });
    const Timing bare = timed(renameOnly);
    if (read.wall < 0 || run.wall < 0 || bare.wall < 0)
        return false;
    measured.read = best(measured.read, read);
    measured.run = best(measured.run, run);
    measured.renameOnly = best(measured.renameOnly, bare);
    return true;
}

void printMeasured(const char *what, const Measured &m)
{
    std::printf("%s (best of %d rounds, %d pictures renamed):\n", what, kRounds, m.renamed);
    std::printf("  floor: Exif header read      %8.2f ms wall, %8.2f ms CPU\n", m.read.wall,
                m.read.cpu);
    std::printf("  bare renames, nothing read   %8.2f ms wall, %8.2f ms CPU\n", m.renameOnly.wall,
                m.renameOnly.cpu);
    std::printf("  rename to shooting date      %8.2f ms wall, %8.2f ms CPU\n", m.run.wall,
                m.run.cpu);
    std::printf("  ratio to the header read %.2f wall (%.2f CPU); to header read + bare renames "
                "%.2f wall\n",
                m.run.wall / m.read.wall, m.run.cpu / m.read.cpu,
                m.run.wall / (m.read.wall + m.renameOnly.wall));
}

int main(int argc, char **argv)
{
    const QString cache =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE "/rename");
    const QString sources = cache + QStringLiteral("/sources");
    if (!prepareSources(sources)) {
        std::fprintf(stderr, "cannot generate the pictures in %s\n", qPrintable(sources));
        return 1;
    }
    Measured warm;
    Measured cold;
    for (int round = 0; round < kRounds; ++round) {
        if (!measureRound(cache, sources, false, warm) ||
            !measureRound(cache, sources, true, cold)) {
            std::fprintf(stderr, "cannot link the pictures under %s\n", qPrintable(cache));
            return 1;
        }
    }
    std::printf("%d pictures of %lld bytes\n", kFileCount,
                QFile(picturePaths(sources).value(0)).size());
    printMeasured("Pages in the cache", warm);
    printMeasured("Pages read from the disk", cold);
    return 0;
}
