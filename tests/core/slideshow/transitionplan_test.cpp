#include "core/slideshow/transitionplan.h"

#include <gtest/gtest.h>

#include <deque>

#include <QImage>
#include <QPainter>

#include "core/settings/settings.h"
#include "core/slideshow/transitionpainter.h"

namespace
{

const QSize kScreen(1024, 768);

// Draws from a fixed list, then 0.
UnitRandom scripted(std::deque<double> values)
{
    return [values]() mutable {
        if (values.empty())
            return 0.0;
        const double value = values.front();
        values.pop_front();
        return value;
    };
}

SlideEffect effect(int number, const QString &variant, int speed = 80)
{
    initTransitionTables();
    return {transitionTables().names[size_t(number)], number, variant, 0, speed};
}

TransitionPlan plan(const SlideEffect &e, QSize screen = kScreen)
{
    return planTransition(e, screen, screen, scripted({0.3, 0.7, 0.1, 0.9}));
}

int refreshes(const TransitionPlan &p)
{
    return int(std::count_if(p.steps.begin(), p.steps.end(),
                             [](const TransitionStep &s) { return s.refresh; }));
}

// A picture whose every pixel differs from its neighbours, so a misplaced copy shows.
QImage patterned(QSize size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + seed) & 255, (y * 13 + seed) & 255, (x ^ y) & 255));
    }
    return image;
}

TEST(TransitionPlan, CentreWipeFollowsTheWorkedExample)
{
    const TransitionPlan p = plan(effect(1, QStringLiteral("中央から外側")));
    ASSERT_EQ(p.steps.size(), 20u); // s = 40, sx = 25, sy = 19
    EXPECT_EQ(p.steps.front().ops.front().target, QRect(487, 365, 50, 38));
    EXPECT_EQ(p.steps.back().ops.front().target, QRect(12, 4, 1000, 760));
}

TEST(TransitionPlan, SlideInFromTheCentreZoomsTwice)
{
    const TransitionPlan grow = plan(effect(2, QStringLiteral("中央から外側")));
    ASSERT_EQ(grow.steps.size(), 2u); // s2 = 4
    EXPECT_EQ(grow.steps[0].ops[0].source, QRect(0, 0, 1024, 768));
    EXPECT_EQ(grow.steps[0].ops[0].target, QRect(256, 192, 512, 384));
    const TransitionPlan shrink = plan(effect(2, QStringLiteral("外側から中央")));
    ASSERT_EQ(shrink.steps.size(), 2u);
    EXPECT_EQ(shrink.steps[1].ops[0].target, QRect(0, 0, 1024, 768));
    EXPECT_EQ(shrink.steps[1].ops[0].source, QRect(0, 0, 1024, 768));
}

TEST(TransitionPlan, CoarseCrossFadeBlendsThreeTimesRising)
{
    const TransitionPlan p = plan(effect(5, QStringLiteral("より粗い")));
    std::vector<int> alphas;
    for (const TransitionStep &s : p.steps) {
        ASSERT_EQ(s.ops.size(), 1u);
        EXPECT_EQ(s.ops[0].kind, TransitionOp::Kind::Blend);
        alphas.push_back(s.ops[0].alpha);
    }
    EXPECT_EQ(alphas, (std::vector<int>{76, 127, 204}));
}

// Step and refresh counts on 1024 x 768 at speed 80, from each effect's arithmetic.
TEST(TransitionPlan, StepCountsFollowTheArithmetic)
{
    struct Case {
        int number;
        const char *variant;
        size_t steps;
        int refreshes;
    };
    const Case cases[] = {
        {1, "左から右", 41, 41},     {1, "下から上", 41, 41},     {1, "外側から中央", 21, 21},
        {2, "右下から左上", 41, 41}, {3, "上から下", 41, 41},     {4, "上から下", 86, 29},
        {4, "左から往復", 86, 29},   {5, "より精細", 6, 6},       {6, "普通", 193, 13},
        {7, "普通", 816, 28},        {8, "中央から左右", 42, 42}, {9, "普通", 22, 22},
        {10, "普通", 23, 23},        {11, "普通", 16, 16},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " " + c.variant);
        const TransitionPlan p = plan(effect(c.number, QString::fromUtf8(c.variant)));
        EXPECT_EQ(p.steps.size(), c.steps);
        EXPECT_EQ(refreshes(p), c.refreshes);
    }
}

// Take turns leaves the top strip (9 rows at speed 80) to the final copy.
TEST(TransitionPlan, TakeTurnsLeavesTheTopStrip)
{
    for (const TransitionStep &s : plan(effect(10, QStringLiteral("より粗い"))).steps) {
        for (const TransitionOp &op : s.ops)
            EXPECT_GE(op.target.top(), 9);
    }
}

// A value that would divide by zero, or a variant the effect does not list, leaves the final
// copy alone.
TEST(TransitionPlan, ZeroDivisorsAndUnknownVariantsGiveNoSteps)
{
    struct Case {
        int number;
        const char *variant;
        int speed;
        QSize screen;
    };
    const Case cases[] = {
        {1, "左から右", 1, kScreen},     {2, "中央から外側", 19, kScreen},
        {3, "左から右", 0, kScreen},     {4, "上から下", 0, kScreen},
        {8, "中央から上下", 0, kScreen}, {9, "普通", 80, QSize(10, 768)},
        {10, "普通", 800, kScreen},      {10, "より精細", 80, QSize(40, 768)},
        {11, "普通", 80, QSize(20, 20)}, {6, "左から右", 80, kScreen},
        {0, "なし", 80, kScreen},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " " + c.variant);
        const TransitionPlan p =
            planTransition(effect(c.number, QString::fromUtf8(c.variant), c.speed), c.screen,
                           c.screen, scripted({}));
        EXPECT_TRUE(p.steps.empty());
    }
    bool unknown = false;
    SlideEffect outside = effect(0, QStringLiteral("なし"));
    outside.number = 13;
    planTransition(outside, kScreen, kScreen, scripted({}), &unknown);
    EXPECT_TRUE(unknown);
}

TEST(TransitionPlan, RandomChoicesChangeOnlyThePlansCopy)
{
    const SlideEffect stored = effect(12, QStringLiteral("ﾗﾝﾀﾞﾑ"));
    const TransitionPlan p = planTransition(stored, kScreen, kScreen, scripted({0.5, 0.5}));
    EXPECT_EQ(p.effect.number, 6); // Int(0.5 x 11) + 1
    EXPECT_EQ(p.effect.name, QStringLiteral("ﾗﾝﾀﾞﾑﾗｲﾝ"));
    EXPECT_EQ(p.effect.subName, QStringLiteral("より精細")); // row Int(0.5 x 3)
    EXPECT_EQ(stored.number, 12);

    const TransitionPlan wipe =
        planTransition(effect(1, QStringLiteral("ﾗﾝﾀﾞﾑ")), kScreen, kScreen, scripted({0.95}));
    EXPECT_EQ(wipe.effect.subName, QStringLiteral("外側から中央")); // row Int(10 x 0.95)
    EXPECT_EQ(wipe.steps.size(), 21u);
}

// Whatever the effect, the screen ends on the new picture pixel for pixel.
TEST(TransitionPainter, EveryEffectEndsOnThePicture)
{
    initTransitionTables();
    const TransitionTables &t = transitionTables();
    const QSize size(160, 120);
    const QImage picture = patterned(size, 90);
    for (int number = 0; number < kEffectCount; ++number) {
        for (int row = 0; row < t.counts[size_t(number)]; ++row) {
            const SlideEffect e{t.names[size_t(number)], number, t.variantName(number, row), row,
                                80};
            SCOPED_TRACE(e.name.toStdString() + " " + e.subName.toStdString());
            QImage screen = patterned(size, 3);
            const TransitionPlan p = planTransition(e, size, size, scripted({0.2, 0.8, 0.4}));
            for (const TransitionStep &s : p.steps)
                paintTransitionStep(screen, picture, s);
            finishTransition(screen, picture);
            EXPECT_EQ(screen, picture);
        }
    }
}

// Some fronts uncover the whole picture by themselves, before the final copy.
TEST(TransitionPainter, SweepingFrontsCoverTheScreen)
{
    const QSize size(200, 150);
    const QImage picture = patterned(size, 40);
    const QList<QPair<int, QString>> effects = {{1, QStringLiteral("右から左")},
                                                {1, QStringLiteral("上から下")},
                                                {2, QStringLiteral("左から右")},
                                                {4, QStringLiteral("上から往復")},
                                                {3, QStringLiteral("左から右")}};
    for (const auto &[number, variant] : effects) {
        SCOPED_TRACE(variant.toStdString());
        QImage screen(size, QImage::Format_RGB32);
        screen.fill(Qt::black);
        for (const TransitionStep &s : plan(effect(number, variant, 20), size).steps)
            paintTransitionStep(screen, picture, s);
        EXPECT_EQ(screen, picture);
    }
}

// The roll pushes the old image on: a move within the screen, overlapping itself.
TEST(TransitionPainter, ScreenMoveShiftsTheOldImage)
{
    const QImage old = patterned(QSize(40, 30), 7);
    QImage screen = old;
    const QRect source(0, 0, 30, 30);
    const TransitionStep step{{{TransitionOp::Kind::ScreenMove, source.translated(10, 0), source}},
                              true};
    EXPECT_EQ(paintTransitionStep(screen, old, step), QRect(10, 0, 30, 30));
    EXPECT_EQ(screen.copy(10, 0, 30, 30), old.copy(0, 0, 30, 30));
    const TransitionStep down{
        {{TransitionOp::Kind::ScreenMove, QRect(0, 5, 40, 25), QRect(0, 0, 40, 25)}}, true};
    screen = old;
    paintTransitionStep(screen, old, down);
    EXPECT_EQ(screen.copy(0, 5, 40, 25), old.copy(0, 0, 40, 25));
}

TEST(TransitionTables, ClampedSettingsNameTheirEffect)
{
    initTransitionTables();
    struct Case {
        qint32 main, sub, bias, interval;
        qint32 wantMain, wantSub, wantBias, wantInterval;
        const char *name;
        const char *variant;
    };
    const Case cases[] = {
        {1, 8, 80, 1, 1, 8, 80, 1, "ﾜｲﾌﾟ", "中央から外側"},
        {14, 5, 0, 0, 12, 0, 20, 1, "ﾗﾝﾀﾞﾑ", "ﾗﾝﾀﾞﾑ"},
        {-1, -3, 999, 61, 0, 0, 200, 60, "なし", "なし"},
        {3, 7, 150, 30, 3, 1, 150, 30, "ﾛｰﾙ", "上から下"},
    };
    for (const Case &c : cases) {
        SlideSettings slide;
        slide.SlideEffectMain = c.main;
        slide.SlideEffectSub = c.sub;
        slide.SlideEffectBias = c.bias;
        slide.SlideInterval = c.interval;
        clampSlideSettings(slide);
        EXPECT_EQ(slide.SlideEffectMain, c.wantMain);
        EXPECT_EQ(slide.SlideEffectSub, c.wantSub);
        EXPECT_EQ(slide.SlideEffectBias, c.wantBias);
        EXPECT_EQ(slide.SlideInterval, c.wantInterval);
        EXPECT_EQ(slide.mainEffectName, QString::fromUtf8(c.name));
        EXPECT_EQ(slide.variantName, QString::fromUtf8(c.variant));
    }
}

} // namespace
