// Measures `tabilo-cli rotate --code 1` over a folder of camera-like 12-megapixel
// Exif files on two cores against the same run held to one core (taskset -c 0),
// and the one-core run against its floor: a bare loop on that core doing the
// same work per file (read, lossless quarter turn with every marker copied,
// 1/8 DCT-scaled decode of the turned picture, 160 x 120 thumbnail, write the
// new file once and put it on disk).
//
//   rotate_cores_bench [cache folder]
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

constexpr int kFileCount = 40;
constexpr int kRounds = 3;
constexpr int kThumbQuality = 90;

// The floor's libjpeg-turbo handles, one set for the whole floor.
struct Handles {
    tjhandle transformer = tjInitTransform();
    tjhandle decoder = tjInitDecompress();
    tjhandle encoder = tjInitCompress();
    ~Handles()
    {
        tjDestroy(encoder);
        tjDestroy(decoder);
        tjDestroy(transformer);
    }
};

// The turned picture decoded at 1/8 scale and made into the thumbnail's bytes.
QByteArray thumbnailOf(const Handles &handles, const unsigned char *jpeg, unsigned long size)
{
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handles.decoder, jpeg, size, &width, &height, &subsampling,
                            &colorspace) != 0)
        return {};
    const tjscalingfactor factor{1, 8};
    QImage eighth(TJSCALED(width, factor), TJSCALED(height, factor), QImage::Format_RGB32);
    if (tjDecompress2(handles.decoder, jpeg, size, eighth.bits(), eighth.width(),
                      int(eighth.bytesPerLine()), eighth.height(), TJPF_BGRX, 0) != 0)
        return {};
    const QImage thumb = eighth.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    unsigned char *encoded = nullptr;
    unsigned long encodedSize = 0;
    if (tjCompress2(handles.encoder, thumb.constBits(), thumb.width(), int(thumb.bytesPerLine()),
                    thumb.height(), TJPF_BGRX, &encoded, &encodedSize, TJSAMP_420, kThumbQuality,
                    TJFLAG_ACCURATEDCT) != 0)
        return {};
    QByteArray bytes(reinterpret_cast<const char *>(encoded), qsizetype(encodedSize));
    tjFree(encoded);
    return bytes;
}

// The floor for one file, on the calling thread.
bool floorOneFile(const Handles &handles, const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray jpeg = in.readAll();
    unsigned char *turned = nullptr;
    unsigned long turnedSize = 0;
    tjtransform quarterTurn{};
    quarterTurn.op = TJXOP_ROT90;
    if (tjTransform(handles.transformer, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                    jpeg.size(), 1, &turned, &turnedSize, &quarterTurn, 0) != 0)
        return false;
    const QByteArray thumb = thumbnailOf(handles, turned, turnedSize);
    QFile out(path + QStringLiteral(".new"));
    const bool written = !thumb.isEmpty() && out.open(QIODevice::WriteOnly) &&
                         out.write(thumb) == thumb.size() &&
                         out.write(reinterpret_cast<const char *>(turned), qint64(turnedSize)) ==
                             qint64(turnedSize) &&
                         out.flush() && ::fsync(out.handle()) == 0;
    tjFree(turned);
    return written;
}

CoresRun floorOneCore(const QStringList &paths)
{
    const Handles handles;
    return floorRun(paths, [&](const QString &path) { return floorOneFile(handles, path); });
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
    const QByteArray jpeg = cameraPicture(cacheFolder);
    if (jpeg.isEmpty()) {
        std::fprintf(stderr, "cannot make the camera picture\n");
        return 1;
    }
    double load[3] = {};
    ::getloadavg(load, 3);
    std::printf("%d camera %d x %d files (%.2f MB each), best of %d rounds; load average %.2f\n",
                kFileCount, kPlainWidth, kPlainHeight, jpeg.size() / 1e6, kRounds, load[0]);

    const CoresComparison runs = compareCores(cacheFolder, jpeg, kFileCount, kRounds, floorOneCore,
                                              QList<QByteArray>{"rotate", "--code", "1"});
    printCoresComparison(runs, "rotate", kFileCount);
    return 0;
}
