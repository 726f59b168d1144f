// Measures, with a warm cache, how long the header readers take per camera file against the
// floor of reading the same header bytes with plain open/read/close:
//   SetExif and every property, GetThumb to a file and to memory, GetJpegSize.
//
//   exifread_bench [benchmark options]        timings and ratios
//   exifread_bench --once OPERATION           runs one operation once per file, for
//                                             strace -c (setexif, thumbfile, thumbmemory,
//                                             jpegsize, floorheader, floorframe,
//                                             floorthumbfile)
//
// 500 camera-like 12-megapixel files (4000 x 3000, an Exif header with maker notes and a
// 160 x 120 thumbnail in IFD1) are generated once into $TABILO_BENCH_CACHE/exifread (or the
// build folder's bench cache) and reused by later runs.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include "exif/exifdata.h"
#include "exif/exifthumb.h"
#include "exif/jpgsize.h"

namespace
{

constexpr int kFileCount = 500;
constexpr int kPictureWidth = 4000;
constexpr int kPictureHeight = 3000;
constexpr int kMakerNoteSize = 6000;

// --- generating the files ---

QByteArray le16(quint16 value)
{
    return QByteArray(1, char(value & 0xFF)) + QByteArray(1, char(value >> 8));
}

QByteArray le32(quint32 value)
{
    return le16(quint16(value & 0xFFFF)) + le16(quint16(value >> 16));
}

QByteArray rational(quint32 numerator, quint32 denominator)
{
    return le32(numerator) + le32(denominator);
}

QByteArray ascii(const QByteArray &text)
{
    return text + '\0';
}

struct Entry {
    quint16 tag;
    quint16 type;
    quint32 count;
    QByteArray value; // little-endian value bytes; more than four go to the data area
};

quint32 ifdSize(const QList<Entry> &entries)
{
    quint32 size = 2 + 12 * quint32(entries.size()) + 4;
    for (const Entry &entry : entries) {
        if (entry.value.size() > 4)
            size += quint32(entry.value.size() + (entry.value.size() & 1));
    }
    return size;
}

// One IFD at TIFF offset `start`, its out-of-line values right behind it.
QByteArray ifd(quint32 start, const QList<Entry> &entries, quint32 next)
{
    QByteArray head = le16(quint16(entries.size()));
    QByteArray data;
    const quint32 dataStart = start + 2 + 12 * quint32(entries.size()) + 4;
    for (const Entry &entry : entries) {
        head += le16(entry.tag) + le16(entry.type) + le32(entry.count);
        if (entry.value.size() > 4) {
            head += le32(dataStart + quint32(data.size()));
            data += entry.value;
            if (data.size() & 1)
                data += '\0';
        } else {
            head += entry.value + QByteArray(4 - entry.value.size(), '\0');
        }
    }
    return head + le32(next) + data;
}

QByteArray exifSegment(int serial, const QByteArray &thumbnail)
{
    const QByteArray date = QStringLiteral("2009:05:%1 10:%2:%3")
                                .arg(1 + serial % 28, 2, 10, QChar(u'0'))
                                .arg(serial / 60 % 60, 2, 10, QChar(u'0'))
                                .arg(serial % 60, 2, 10, QChar(u'0'))
                                .toLatin1();
    QByteArray makerNote(kMakerNoteSize, '\0');
    for (int i = 0; i < kMakerNoteSize; ++i)
        makerNote[i] = char((i * 7 + serial) & 0xFF);

    const QList<Entry> ifd0Probe = {
        {0x010F, 2, 6, ascii("Tabil")}, {0x0110, 2, 14, ascii("BENCH CAM 12M")},
        {0x0112, 3, 1, le16(1)},        {0x0131, 2, 11, ascii("Firm 1.00")},
        {0x0132, 2, 20, ascii(date)},   {0x8769, 4, 1, le32(0)},
    };
    QList<Entry> exifEntries = {
        {0x829A, 5, 1, rational(1, 125)},
        {0x829D, 5, 1, rational(28, 10)},
        {0x8822, 3, 1, le16(2)},
        {0x8827, 3, 1, le16(100)},
        {0x9000, 7, 4, QByteArray("0220")},
        {0x9003, 2, 20, ascii(date)},
        {0x9004, 2, 20, ascii(date)},
        {0x9102, 5, 1, rational(4, 1)},
        {0x9201, 10, 1, rational(6965784, 1000000)},
        {0x9204, 10, 1, rational(0, 3)},
        {0x9207, 3, 1, le16(5)},
        {0x9209, 3, 1, le16(16)},
        {0x920A, 5, 1, rational(63, 10)},
        {0x927C, 7, kMakerNoteSize, makerNote},
        {0xA002, 4, 1, le32(kPictureWidth)},
        {0xA003, 4, 1, le32(kPictureHeight)},
    };
    const quint32 ifd0At = 8;
    const quint32 exifAt = ifd0At + ifdSize(ifd0Probe);
    const quint32 ifd1At = exifAt + ifdSize(exifEntries);
    const QList<Entry> ifd1Probe = {{0x0103, 3, 1, le16(6)},
                                    {0x0201, 4, 1, le32(0)},
                                    {0x0202, 4, 1, le32(quint32(thumbnail.size()))}};
    const quint32 thumbAt = ifd1At + ifdSize(ifd1Probe);

    QList<Entry> ifd0Entries = ifd0Probe;
    ifd0Entries.last().value = le32(exifAt);
    QList<Entry> ifd1Entries = ifd1Probe;
    ifd1Entries[1].value = le32(thumbAt);

    const QByteArray tiff = QByteArray("II") + le16(42) + le32(ifd0At) +
                            ifd(ifd0At, ifd0Entries, ifd1At) + ifd(exifAt, exifEntries, 0) +
                            ifd(ifd1At, ifd1Entries, 0) + thumbnail;
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const quint16 length = quint16(payload.size() + 2);
    return QByteArray("\xFF\xE1", 2) + QByteArray(1, char(length >> 8)) +
           QByteArray(1, char(length & 0xFF)) + payload;
}

QByteArray encodeJpeg(const QImage &image, int quality)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    tjhandle handle = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()),
                                   rgb.height(), TJPF_RGB, &jpeg, &size, TJSAMP_420, quality, 0);
    QByteArray bytes =
        result == 0 ? QByteArray(reinterpret_cast<char *>(jpeg), qsizetype(size)) : QByteArray();
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

// The encoded picture without SOI and the JFIF segment, as it follows a camera's APP1.
QByteArray pictureBody(const QByteArray &jpeg)
{
    qsizetype at = 2;
    if (jpeg.size() > 6 && quint8(jpeg[2]) == 0xFF && quint8(jpeg[3]) == 0xE0)
        at = 4 + ((quint8(jpeg[4]) << 8) | quint8(jpeg[5]));
    return jpeg.mid(at);
}

QImage scenePicture()
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    for (int y = 0; y < kPictureHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kPictureWidth; ++x) {
            const int ripple = ((x * x + y * y) >> 9) & 0x3F;
            line[x] = qRgb((x >> 4) & 0xFF, ((y >> 4) + ripple) & 0xFF, ((x ^ y) >> 3) & 0xFF);
        }
    }
    return image;
}

QString cacheFolder()
{
    const QByteArray fromEnvironment = qgetenv("TABILO_BENCH_CACHE");
    const QString base = fromEnvironment.isEmpty() ? QStringLiteral(TABILO_BENCH_CACHE)
                                                   : QString::fromLocal8Bit(fromEnvironment);
    return QDir(base).filePath(QStringLiteral("exifread"));
}

QStringList cameraFiles()
{
    const QDir folder(cacheFolder());
    const QString complete = folder.filePath(QStringLiteral("complete"));
    QStringList paths;
    for (int i = 0; i < kFileCount; ++i)
        paths.append(folder.filePath(QStringLiteral("DSC%1.JPG").arg(i, 5, 10, QChar(u'0'))));
    if (QFile::exists(complete))
        return paths;

    std::fprintf(stderr, "generating %d camera files in %s ...\n", kFileCount,
                 qPrintable(folder.path()));
    QDir().mkpath(folder.path());
    const QImage picture = scenePicture();
    const QByteArray body = pictureBody(encodeJpeg(picture, 90));
    const QByteArray thumbnail =
        encodeJpeg(picture.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 80);
    for (int i = 0; i < kFileCount; ++i) {
        QFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(paths[i]));
        file.write(QByteArray("\xFF\xD8", 2) + exifSegment(i, thumbnail) + body);
    }
    QFile(complete).open(QIODevice::WriteOnly);
    return paths;
}

// --- what is measured ---

struct BenchFile {
    QString path;
    QByteArray nativePath;
    qint64 headerBytes = 0; // SOI and the APP1 segment
    qint64 frameBytes = 0;  // everything up to the end of the frame header
    qint64 thumbBytes = 0;  // the thumbnail, which ends the APP1 segment
};

QList<BenchFile> g_files;
QString g_thumbPath;

// The end of the frame header that follows the APP1 segment (the thumbnail inside the APP1
// has a frame header of its own).
qint64 frameEnd(const QByteArray &head, qint64 headerBytes)
{
    const qsizetype sof = head.indexOf(QByteArray("\xFF\xC0", 2), headerBytes);
    return sof < 0 ? head.size() : sof + 2 + ((quint8(head[sof + 2]) << 8) | quint8(head[sof + 3]));
}

// JPEGInterchangeFormatLength as the generator writes it: tag 0x0202, LONG, count 1.
qint64 thumbnailLength(const QByteArray &head)
{
    const qsizetype entry = head.indexOf(QByteArray("\x02\x02\x04\x00\x01\x00\x00\x00", 8));
    if (entry < 0 || entry + 12 > head.size())
        qFatal("no thumbnail length in a generated file");
    const auto *value = reinterpret_cast<const uchar *>(head.constData() + entry + 8);
    return value[0] | (value[1] << 8) | (value[2] << 16) | (qint64(value[3]) << 24);
}

void loadFiles()
{
    for (const QString &path : cameraFiles()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const QByteArray head = file.read(1 << 17);
        BenchFile bench;
        bench.path = path;
        bench.nativePath = QFile::encodeName(path);
        bench.headerBytes = 4 + ((quint8(head[4]) << 8) | quint8(head[5]));
        bench.frameBytes = frameEnd(head, bench.headerBytes);
        bench.thumbBytes = thumbnailLength(head);
        g_files.append(bench);
    }
}

void readExif(const BenchFile &file)
{
    ExifData exif;
    exif.SetExif(file.path);
    benchmark::DoNotOptimize(exif.GetExif());
    benchmark::DoNotOptimize(exif.ExifError());
    benchmark::DoNotOptimize(exif.VersionExif());
    benchmark::DoNotOptimize(exif.IsExif());
    benchmark::DoNotOptimize(exif.DateExif());
    benchmark::DoNotOptimize(exif.SizeExifX());
    benchmark::DoNotOptimize(exif.SizeExifY());
    benchmark::DoNotOptimize(exif.FlashExif());
    benchmark::DoNotOptimize(exif.ShutterSpeed());
    benchmark::DoNotOptimize(exif.MakerExif());
    benchmark::DoNotOptimize(exif.SoftwearExif());
    benchmark::DoNotOptimize(exif.ModelExif());
    benchmark::DoNotOptimize(exif.PictureMode());
    benchmark::DoNotOptimize(exif.Fnumber());
    benchmark::DoNotOptimize(exif.SokkouMode());
    benchmark::DoNotOptimize(exif.RosyutsuProgram());
    benchmark::DoNotOptimize(exif.FocalLength());
    benchmark::DoNotOptimize(exif.ExpBiasVal());
    benchmark::DoNotOptimize(exif.IIMM());
    benchmark::DoNotOptimize(exif.HaveThumb());
    benchmark::DoNotOptimize(exif.ISOspeedRate());
}

void thumbToFile(const BenchFile &file)
{
    ExifThumb thumb;
    benchmark::DoNotOptimize(thumb.GetThumb(file.path, g_thumbPath));
}

void thumbToMemory(const BenchFile &file)
{
    ExifThumb thumb;
    QByteArray bytes;
    benchmark::DoNotOptimize(thumb.GetThumb(file.path, bytes));
    benchmark::DoNotOptimize(bytes.data());
}

void jpegSize(const BenchFile &file)
{
    benchmark::DoNotOptimize(GetJpegSize(file.path));
}

// The floor: open, one read of exactly `length` bytes, close.
void readPlain(const QByteArray &path, qint64 length)
{
    static char buffer[1 << 17];
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    benchmark::DoNotOptimize(::read(fd, buffer, size_t(length)));
    ::close(fd);
}

void floorHeader(const BenchFile &file)
{
    readPlain(file.nativePath, file.headerBytes);
}

void floorFrame(const BenchFile &file)
{
    readPlain(file.nativePath, file.frameBytes);
}

// The floor of a thumbnail written to the work file: the header read, then the thumbnail's
// bytes written over the existing work file from its first byte (all thumbnails here have
// the same length, so nothing is ever cut).
void floorThumbFile(const BenchFile &file)
{
    static char buffer[1 << 17];
    static const QByteArray target = QFile::encodeName(g_thumbPath);
    const int fd = ::open(file.nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    benchmark::DoNotOptimize(::read(fd, buffer, size_t(file.headerBytes)));
    ::close(fd);
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (out < 0)
        return;
    const char *thumb = buffer + file.headerBytes - file.thumbBytes;
    benchmark::DoNotOptimize(::write(out, thumb, size_t(file.thumbBytes)));
    ::close(out);
}

using Operation = void (*)(const BenchFile &);

const std::map<std::string, Operation> kOperations = {
    {"setexif", readExif},
    {"thumbfile", thumbToFile},
    {"thumbmemory", thumbToMemory},
    {"jpegsize", jpegSize},
    {"floorheader", floorHeader},
    {"floorframe", floorFrame},
    {"floorthumbfile", floorThumbFile},
};

void runPerFile(benchmark::State &state, Operation operation)
{
    qsizetype next = 0;
    for (auto _ : state) {
        operation(g_files[next]);
        next = (next + 1) % g_files.size();
    }
    state.SetItemsProcessed(state.iterations());
}

// Captures each run's time per file for the ratio table printed at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
  public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        // With repetitions, the median of each benchmark stands for it.
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            m_microseconds[run.run_name.str()] = run.GetAdjustedRealTime();
            m_cpuMicroseconds[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        const struct {
            const char *measured;
            const char *floor;
        } pairs[] = {{"SetExif+properties", "Floor/header"},
                     {"GetThumb/memory", "Floor/header"},
                     {"GetThumb/file", "Floor/header+thumbfile"},
                     {"GetJpegSize", "Floor/frame"}};
        std::printf("\n%-22s %12s %24s %12s %8s %10s\n", "operation", "us/file", "floor", "us/file",
                    "ratio", "cpu ratio");
        for (const auto &pair : pairs) {
            const auto measured = m_microseconds.find(pair.measured);
            const auto floor = m_microseconds.find(pair.floor);
            if (measured == m_microseconds.end() || floor == m_microseconds.end())
                continue;
            std::printf("%-22s %12.2f %24s %12.2f %8.2f %10.2f\n", pair.measured, measured->second,
                        pair.floor, floor->second, measured->second / floor->second,
                        m_cpuMicroseconds.at(pair.measured) / m_cpuMicroseconds.at(pair.floor));
        }
    }

  private:
    std::map<std::string, double> m_microseconds;
    std::map<std::string, double> m_cpuMicroseconds;
};

int runOnce(const std::string &name)
{
    const auto operation = kOperations.find(name);
    if (operation == kOperations.end()) {
        std::fprintf(stderr, "unknown operation %s\n", name.c_str());
        return 2;
    }
    for (const BenchFile &file : g_files)
        operation->second(file);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    loadFiles();
    QTemporaryDir work;
    g_thumbPath = work.filePath(QStringLiteral("tmp.jpg"));
    if (argc == 3 && std::strcmp(argv[1], "--once") == 0)
        return runOnce(argv[2]);

    const auto unit = benchmark::kMicrosecond;
    benchmark::RegisterBenchmark("SetExif+properties", runPerFile, readExif)->Unit(unit);
    benchmark::RegisterBenchmark("GetThumb/file", runPerFile, thumbToFile)->Unit(unit);
    benchmark::RegisterBenchmark("GetThumb/memory", runPerFile, thumbToMemory)->Unit(unit);
    benchmark::RegisterBenchmark("GetJpegSize", runPerFile, jpegSize)->Unit(unit);
    benchmark::RegisterBenchmark("Floor/header", runPerFile, floorHeader)->Unit(unit);
    benchmark::RegisterBenchmark("Floor/header+thumbfile", runPerFile, floorThumbFile)->Unit(unit);
    benchmark::RegisterBenchmark("Floor/frame", runPerFile, floorFrame)->Unit(unit);

    benchmark::Initialize(&argc, argv);
    // Warm the page cache so that every run reads from memory.
    for (const BenchFile &file : g_files)
        floorFrame(file);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
