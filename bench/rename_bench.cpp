// Measures renaming a folder of 1,000 camera pictures to their shooting date (the run of the
// rename dialog and of `tabilo-cli rename-by-date`, private marks carried) against the floor of
// reading each file's Exif header alone, in the same run. Every tenth picture shares its
// second with the one before, so the numbered names are part of the work.
//
//   rename_bench [cache folder]
//
// The pictures (an Exif header with the date, then a 2-megapixel picture) are generated once
// into the cache folder; each round renames hard links to them in a fresh folder beside it.

#include <algorithm>
#include <cstdio>
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

int renameFolder(const QString &folder, const QStringList &names)
{
    FolderNames entries(folder);
    HiddenMarkCarrier marks(folder);
    DateRenamePorts ports;
    ports.progress = [](int) {};
    ports.renamed = [](int, const QString &) {};
    ports.carryMark = [&marks](const QString &from, const QString &to) {
        const FileError error = marks.carry(from, to);
        return StepError::numbered(error.number, error.description);
    };
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

int main(int argc, char **argv)
{
    const QString cache =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE "/rename");
    const QString sources = cache + QStringLiteral("/sources");
    if (!prepareSources(sources)) {
        std::fprintf(stderr, "cannot generate the pictures in %s\n", qPrintable(sources));
        return 1;
    }
    Timing floor;
    Timing run;
    int renamed = 0;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir work(cache + QStringLiteral("/work-XXXXXX"));
        const QString folder = work.path() + u'/';
        const QStringList names = linkSources(sources, folder);
        if (names.isEmpty()) {
            std::fprintf(stderr, "cannot link the pictures into %s\n", qPrintable(folder));
            return 1;
        }
        const Timing readOnly = bestOf(1, [&] { readHeaders(folder, names); });
        const Timing renaming = bestOf(1, [&] { renamed = renameFolder(folder, names); });
        floor = {std::min(floor.wall, readOnly.wall), std::min(floor.cpu, readOnly.cpu)};
        run = {std::min(run.wall, renaming.wall), std::min(run.cpu, renaming.cpu)};
    }
    std::printf("%d pictures, %d renamed per round, best of %d rounds\n", kFileCount, renamed,
                kRounds);
    std::printf("  floor: Exif header read   %8.2f ms wall, %8.2f ms CPU\n", floor.wall, floor.cpu);
    std::printf("  rename to shooting date   %8.2f ms wall, %8.2f ms CPU\n", run.wall, run.cpu);
    std::printf("  ratio %.2f wall, %.2f CPU (must stay within 2)\n", run.wall / floor.wall,
                run.cpu / floor.cpu);
    return 0;
}
