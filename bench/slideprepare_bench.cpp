// Measures preparing the next slide (a 12-megapixel picture for a 1920 x 1080 window: decoded
// at the codec's DCT scale and composed on the background) against its floor, libjpeg-turbo
// reading and decoding the same file at the same scale. Then measures a step to a slide that
// was prepared ahead: taking it and painting the transition's first step must fit in a frame.
//
//   slideprepare_bench [cache folder]

#include <cstdio>
#include <thread>

#include <QFile>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include "bench/benchsupport.h"
#include "bench/plainpictures.h"
#include "core/slideshow/slideprefetch.h"
#include "core/slideshow/transitionpainter.h"
#include "core/slideshow/transitionplan.h"
#include "exif/jpegdecode.h"

namespace
{

const QSize kScreen(1920, 1080);
constexpr int kRounds = 7;
constexpr double kFrameMilliseconds = 1000.0 / 60;

bool floorDecode(tjhandle decoder, const QString &path, QSize scaled, QImage &pixels)
{
    const QByteArray jpeg = readAll(path);
    const auto *data = reinterpret_cast<const unsigned char *>(jpeg.constData());
    pixels = QImage(scaled, QImage::Format_RGB32);
    return tjDecompress2(decoder, data, jpeg.size(), pixels.bits(), scaled.width(),
                         int(pixels.bytesPerLine()), scaled.height(), TJPF_BGRX, 0) == 0;
}

// From the key to the first painted step of the transition, with the slide prepared ahead.
double keyToFirstStep(const QString &path)
{
    initTransitionTables();
    const SlideEffect wipe{QString(), 1, QStringLiteral("左から右"), 0, 80};
    QImage screen(kScreen, QImage::Format_RGB32);
    screen.fill(Qt::black);
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        SlidePrefetch prefetch;
        prefetch.start(path, kScreen, Qt::black, true);
        while (!prefetch.isReady(path, kScreen, Qt::black, true))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto start = Clock::now();
        const PreparedSlide slide = prefetch.take(path, kScreen, Qt::black, true);
        const TransitionPlan plan = planTransition(wipe, kScreen, kScreen, [] { return 0.5; });
        paintTransitionStep(screen, slide.picture, plan.steps.at(1));
        best = std::min(best, millisecondsSince(start));
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    const QString cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    QTemporaryDir folder(cacheFolder + QStringLiteral("/slideprepare-XXXXXX"));
    const QString path = fillFolder(folder.path(), plainPicture(cacheFolder), 1).constFirst();
    const QSize scaled = jpegDecodeSizeForBox(QSize(kPlainWidth, kPlainHeight), kScreen);
    std::printf("source: %d x %d plain JPEG for a %d x %d window; decoded at %d x %d; best of %d\n",
                kPlainWidth, kPlainHeight, kScreen.width(), kScreen.height(), scaled.width(),
                scaled.height(), kRounds);

    tjhandle decoder = tjInitDecompress();
    QImage pixels;
    const Timing floor = bestOf(kRounds, [&] {
        if (!floorDecode(decoder, path, scaled, pixels))
            std::fprintf(stderr, "floor decode failed\n");
    });
    tjDestroy(decoder);
    const Timing prepare = bestOf(kRounds, [&] {
        if (prepareSlide(path, kScreen, Qt::black, true).outcome != PreparedSlide::Outcome::Ready)
            std::fprintf(stderr, "preparing failed\n");
    });
    std::printf("prepare: %8.2f ms wall, %8.2f ms CPU\n", prepare.wall, prepare.cpu);
    std::printf("floor:   %8.2f ms wall, %8.2f ms CPU (read and decode at the same scale)\n",
                floor.wall, floor.cpu);
    std::printf(
        "ratio:   %8.2f x the floor's wall time, %.2f x its CPU time (goal: within 1.2 x)\n",
        prepare.wall / floor.wall, prepare.cpu / floor.cpu);
    const double step = keyToFirstStep(path);
    std::printf("key to first step, prepared ahead: %.2f ms, %.2f x the %.1f ms frame (goal: "
                "below 1)\n",
                step, step / kFrameMilliseconds, kFrameMilliseconds);
    return 0;
}
