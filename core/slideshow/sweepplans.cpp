// Effects whose front sweeps across the screen: wipe (1), slide-in (2), roll (3), open (8).
#include "core/slideshow/effectplans.h"

namespace
{

bool is(const TransitionPlan &plan, const char *variant)
{
    return plan.effect.subName == QString::fromUtf8(variant);
}

void addStep(TransitionPlan &plan, std::vector<TransitionOp> ops)
{
    plan.steps.push_back({std::move(ops), true});
}

// Steps i = from..to, or to..from when `down`, each with the operations `opsOf(i)`.
template <typename OpsOf>
void addSteps(TransitionPlan &plan, int from, int to, bool down, OpsOf opsOf)
{
    for (int n = from; n <= to; ++n)
        addStep(plan, opsOf(down ? to - (n - from) : n));
}

// The L-shaped front of a corner wipe at step i.
std::vector<TransitionOp> wipeCorner(const TransitionPlan &plan, const EffectGeometry &g, int i,
                                     int sx, int sy)
{
    const int W = g.W, H = g.H;
    if (is(plan, "左上から右下"))
        return {copyOp(i * sx, 0, sx, (i + 1) * sy), copyOp(0, i * sy, i * sx, sy)};
    if (is(plan, "右上から左下")) {
        const int x = W - i * sx;
        return {copyOp(x, 0, sx, (i + 1) * sy), copyOp(x, i * sy, W - x, sy)};
    }
    if (is(plan, "左下から右上")) {
        const int y = H - i * sy;
        return {copyOp(i * sx, y, sx, H - y), copyOp(0, y, i * sx, sy)};
    }
    const int x = W - i * sx, y = H - i * sy; // 右下から左上
    return {copyOp(x, y, sx, H - y), copyOp(x, y, W - x, sy)};
}

bool isCorner(const TransitionPlan &plan)
{
    return is(plan, "左上から右下") || is(plan, "右上から左下") || is(plan, "左下から右上") ||
           is(plan, "右下から左上");
}

// Slide-in diagonals: the picture's opposite corner of a × b enters at the named corner.
void planSlideInCorner(TransitionPlan &plan, const EffectGeometry &g, int s)
{
    const double fx = std::max(1.0, double(g.W) / s);
    const double fy = std::max(1.0, double(g.H) / s);
    addSteps(plan, 0, intOf(g.W / fx), false, [&](int i) -> std::vector<TransitionOp> {
        const int a = intOf(i * fx), b = intOf(i * fy);
        if (is(plan, "左上から右下"))
            return {copyOp(rectOf(0, 0, a, b), rectOf(g.PW - a, g.PH - b, a, b))};
        if (is(plan, "右上から左下"))
            return {copyOp(rectOf(g.W - a, 0, a, b), rectOf(0, g.PH - b, a, b))};
        if (is(plan, "左下から右上"))
            return {copyOp(rectOf(0, g.H - b, a, b), rectOf(g.PW - a, 0, a, b))};
        return {copyOp(rectOf(g.W - a, g.H - b, a, b), rectOf(0, 0, a, b))};
    });
}

// Slide-in from or to the centre: the whole picture grows, or a magnified centre shrinks.
void planSlideInZoom(TransitionPlan &plan, const EffectGeometry &g, int s)
{
    const int s2 = intOf(s / 10.0);
    if (s2 <= 0)
        return;
    const int cx = nearestEven(g.W / 2.0), cy = nearestEven(g.H / 2.0);
    const int sx2 = max1(intOf(double(g.W) / s2)), sy2 = max1(intOf(double(g.H) / s2));
    const bool grow = is(plan, "中央から外側");
    addSteps(plan, 1, intOf(s2 / 2.0), false, [&](int i) -> std::vector<TransitionOp> {
        const QRect centre = rectOf(cx - i * sx2, cy - i * sy2, 2 * i * sx2, 2 * i * sy2);
        if (grow)
            return {copyOp(centre, QRect(0, 0, g.PW, g.PH))};
        return {copyOp(QRect(0, 0, g.W, g.H), centre)};
    });
}

} // namespace

void planWipe(TransitionPlan &plan, const EffectGeometry &g)
{
    const int s = nearestEven(g.speed / 2.0);
    if (s <= 0)
        return;
    const int W = g.W, H = g.H;
    const int sx = max1(intOf(double(W) / s)), sy = max1(intOf(double(H) / s));
    if (is(plan, "左から右") || is(plan, "右から左")) {
        addSteps(plan, 0, W / sx, is(plan, "右から左"),
                 [&](int i) { return std::vector{copyOp(i * sx, 0, sx, H)}; });
    } else if (is(plan, "上から下") || is(plan, "下から上")) {
        addSteps(plan, 0, H / sy, is(plan, "下から上"),
                 [&](int i) { return std::vector{copyOp(0, i * sy, W, sy)}; });
    } else if (isCorner(plan)) {
        addSteps(plan, 0, W / sx, false, [&](int i) { return wipeCorner(plan, g, i, sx, sy); });
    } else if (is(plan, "中央から外側")) {
        const int cx = W / 2, cy = H / 2;
        addSteps(plan, 1, cx / sx, false, [&](int i) {
            return std::vector{copyOp(cx - i * sx, cy - i * sy, 2 * i * sx, 2 * i * sy)};
        });
    } else if (is(plan, "外側から中央")) {
        addSteps(plan, 0, intOf(double(W) / sx / 2), false, [&](int i) {
            const int x = i * sx, y = i * sy;
            return std::vector{copyOp(x, y, sx, H - 2 * y), copyOp(x, y, W - 2 * x, sy),
                               copyOp(W - (i + 1) * sx, y, sx, H - 2 * y),
                               copyOp(x, H - (i + 1) * sy, W - 2 * x, sy)};
        });
    }
}

void planSlideIn(TransitionPlan &plan, const EffectGeometry &g)
{
    const int s = nearestEven(g.speed / 2.0);
    if (s <= 0)
        return;
    const int W = g.W, H = g.H;
    const int sx = max1(intOf(double(W) / s)), sy = max1(intOf(double(H) / s));
    if (is(plan, "左から右") || is(plan, "右から左")) {
        const bool fromLeft = is(plan, "左から右");
        addSteps(plan, 0, W / sx, false, [&](int i) {
            const int k = i * sx;
            return fromLeft ? std::vector{copyOp(rectOf(0, 0, k, H), rectOf(g.PW - k, 0, k, g.PH))}
                            : std::vector{copyOp(rectOf(W - k, 0, k, H), rectOf(0, 0, k, g.PH))};
        });
    } else if (is(plan, "上から下") || is(plan, "下から上")) {
        const bool fromTop = is(plan, "上から下");
        addSteps(plan, 0, H / sy, false, [&](int i) {
            const int k = i * sy;
            return fromTop ? std::vector{copyOp(rectOf(0, 0, W, k), rectOf(0, g.PH - k, g.PW, k))}
                           : std::vector{copyOp(rectOf(0, H - k, W, k), rectOf(0, 0, g.PW, k))};
        });
    } else if (isCorner(plan)) {
        planSlideInCorner(plan, g, s);
    } else if (is(plan, "中央から外側") || is(plan, "外側から中央")) {
        planSlideInZoom(plan, g, s);
    }
}

// The screen's old image moves on by one step before the picture's edge enters behind it.
void planRoll(TransitionPlan &plan, const EffectGeometry &g)
{
    const int s = nearestEven(g.speed / 2.0);
    if (s <= 0)
        return;
    const int W = g.W, H = g.H;
    const auto move = [](const QRect &source, int dx, int dy) {
        return TransitionOp{TransitionOp::Kind::ScreenMove, source.translated(dx, dy), source};
    };
    if (is(plan, "左から右")) {
        const int sx = max1(intOf(double(W) / s));
        addSteps(plan, 0, W / sx, false, [&](int i) {
            const int k = i * sx;
            return std::vector{move(rectOf(k, 0, W - k - sx, H), sx, 0),
                               copyOp(rectOf(0, 0, k, H), rectOf(g.PW - k, 0, k, g.PH))};
        });
    } else if (is(plan, "上から下")) {
        const int sy = max1(intOf(double(H) / s));
        addSteps(plan, 0, H / sy, false, [&](int i) {
            const int k = i * sy;
            return std::vector{move(rectOf(0, k, W, H - k - sy), 0, sy),
                               copyOp(rectOf(0, 0, W, k), rectOf(0, g.PH - k, g.PW, k))};
        });
    }
}

void planOpen(TransitionPlan &plan, const EffectGeometry &g)
{
    if (g.speed <= 0)
        return;
    if (is(plan, "中央から左右")) {
        const int cx = g.W / 2, sx = max1(g.W / g.speed);
        addSteps(plan, 1, cx / sx, false,
                 [&](int i) { return std::vector{copyOp(cx - i * sx, 0, 2 * i * sx, g.H)}; });
    } else if (is(plan, "中央から上下")) {
        const int cy = g.H / 2, sy = max1(g.H / g.speed);
        addSteps(plan, 1, cy / sy, false,
                 [&](int i) { return std::vector{copyOp(0, cy - i * sy, g.W, 2 * i * sy)}; });
    }
}
