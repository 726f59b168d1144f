// Measures `tabilo-cli convert` over a folder of plain 12-megapixel JPEG files
// on two cores against the same run held to one core (taskset -c 0), and the
// one-core run against its floor: a bare loop on that core doing the same
// work per file (read, 1/8 DCT-scaled decode, 160 x 120 thumbnail, write the
// new file once, put it on disk and rename it over the picture: the least a
// replacement of someone's only copy may do).
//
//   convert_cores_bench [cache folder]
//
// Each figure is the best of its rounds; the rounds alternate the three runs,
// so that a disturbance from other programs hits them alike.

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include <QFile>
#include <QImage>

#include <turbojpeg.h>

#include "bench/coresrun.h"
#include "bench/plainpictures.h"

namespace
{

constexpr int kFileCount = 100;
constexpr int kRounds = 3;
constexpr int kThumbQuality = 90;

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
    const QString newPath = path + QStringLiteral(".new");
    QFile out(newPath);
    const bool written = out.open(QIODevice::WriteOnly) &&
                         out.write(reinterpret_cast<const char *>(encoded), qint64(encodedSize)) ==
                             qint64(encodedSize) &&
                         out.write(jpeg) == jpeg.size() && out.flush() &&
                         ::fsync(out.handle()) == 0;
    tjFree(encoded);
    out.close();
    return written && ::rename(QFile::encodeName(newPath).constData(),
                               QFile::encodeName(path).constData()) == 0;
}

CoresRun floorOneCore(const QStringList &paths)
{
    tjhandle decoder = tjInitDecompress();
    tjhandle encoder = tjInitCompress();
    const CoresRun run =
        floorRun(paths, [&](const QString &path) { return floorOneFile(decoder, encoder, path); });
    tjDestroy(encoder);
    tjDestroy(decoder);
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    const QString cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    if (!hasTwoCores()) {
        std::printf("this machine has one core: nothing to compare\n");
        return 0;
    }
    const QByteArray jpeg = plainPicture(cacheFolder);
    double load[3] = {};
    ::getloadavg(load, 3);
    std::printf("%d plain %d x %d files (%.2f MB each), best of %d rounds; load average %.2f\n",
                kFileCount, kPlainWidth, kPlainHeight, jpeg.size() / 1e6, kRounds, load[0]);

    const CoresComparison runs = compareCores(cacheFolder, jpeg, kFileCount, kRounds, floorOneCore,
                                              QList<QByteArray>{"convert"});
    printCoresComparison(runs, "convert", kFileCount);
    return 0;
}
