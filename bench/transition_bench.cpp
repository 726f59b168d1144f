// Measures the painting of every transition effect on a 1920 x 1080 screen: the work between
// two refreshes of the screen (the steps a refresh shows at once, plus the final copy) must
// fit in one frame of a 60 Hz display. Prints the worst such step of each effect and variant,
// at the default speed and at the largest the options allow, against the frame's 16.7 ms.
// Steps are timed in the thread's CPU time: the machine is shared, and a step that another
// process pre-empts says nothing about the step.
//
//   transition_bench

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

#include <QImage>

#include "core/slideshow/transitionpainter.h"
#include "core/slideshow/transitionplan.h"

namespace
{

const QSize kScreen(1920, 1080);
constexpr double kFrameMilliseconds = 1000.0 / 60;
constexpr int kRounds = 5;

double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

QImage filled(QRgb colour)
{
    QImage image(kScreen, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The longest stretch of painting the screen shows at once, best of a few runs.
double worstStepMilliseconds(const SlideEffect &effect)
{
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const UnitRandom random = [&] { return unit(generator); };
    const QImage picture = filled(qRgb(200, 40, 40));
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        QImage screen = filled(qRgb(20, 20, 120));
        const TransitionPlan plan = planTransition(effect, kScreen, kScreen, random);
        double worst = 0;
        double start = threadCpuMilliseconds();
        for (const TransitionStep &step : plan.steps) {
            paintTransitionStep(screen, picture, step);
            if (step.refresh) {
                const double now = threadCpuMilliseconds();
                worst = std::max(worst, now - start);
                start = now;
            }
        }
        finishTransition(screen, picture);
        screen.bits(); // the final copy shares the picture; the next paint detaches it
        worst = std::max(worst, threadCpuMilliseconds() - start);
        best = std::min(best, worst);
    }
    return best;
}

} // namespace

int main()
{
    initTransitionTables();
    const TransitionTables &tables = transitionTables();
    std::printf("worst step per effect on %d x %d (thread CPU time), best of %d runs; a frame at "
                "60 Hz is %.1f ms\n",
                kScreen.width(), kScreen.height(), kRounds, kFrameMilliseconds);
    std::printf("%-14s %-14s %10s %10s %8s\n", "effect", "variant", "speed 80", "speed 200",
                "/frame");
    double worstOfAll = 0;
    for (int number = 1; number < kRandomEffect; ++number) {
        for (int row = 0; row < tables.counts[size_t(number)]; ++row) {
            SlideEffect effect{tables.names[size_t(number)], number,
                               tables.variantName(number, row), row, 80};
            const double normal = worstStepMilliseconds(effect);
            effect.speed = 200;
            const double fine = worstStepMilliseconds(effect);
            const double worst = std::max(normal, fine);
            worstOfAll = std::max(worstOfAll, worst);
            std::printf("%-14s %-14s %8.2f ms %8.2f ms %7.2fx\n", qPrintable(effect.name),
                        qPrintable(effect.subName), normal, fine, worst / kFrameMilliseconds);
        }
    }
    std::printf("worst of all: %.2f ms, %.2f x the frame (goal: below 1)\n", worstOfAll,
                worstOfAll / kFrameMilliseconds);
    return 0;
}
