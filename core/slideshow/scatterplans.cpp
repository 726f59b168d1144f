// Effects that place their pieces at random: lines (6), boxes (7), checks (11).
#include "core/slideshow/effectplans.h"

#include <algorithm>

namespace
{

bool is(const TransitionPlan &plan, const char *variant)
{
    return plan.effect.subName == QString::fromUtf8(variant);
}

// The piece count of effects 6 and 7 before their own scaling; 0 for a variant not listed.
int grainOf(const TransitionPlan &plan, int speed)
{
    if (is(plan, "より精細"))
        return 2 * speed;
    if (is(plan, "普通"))
        return speed;
    if (is(plan, "より粗い"))
        return nearestEven(speed / 2.0);
    return 0;
}

// A slot drawn as Int(span × Rnd), kept inside the table.
size_t drawSlot(double span, size_t slots, const UnitRandom &random)
{
    return std::min(size_t(std::max(0, intOf(span * random()))), slots - 1);
}

} // namespace

void planRandomLines(TransitionPlan &plan, const EffectGeometry &g, const UnitRandom &random)
{
    const int k = 2 * grainOf(plan, g.speed);
    if (k <= 0)
        return;
    const int h = max1(g.H / k);
    const int n = g.H / h;
    std::vector<int> tops(size_t(n) + 2, 0);
    for (int i = 0; i <= n; ++i)
        tops[size_t(i)] = i * h;
    const double span = double(g.H) / h + 1;
    for (int swap = 0; swap <= n; ++swap) {
        const size_t a = drawSlot(span, tops.size(), random);
        const size_t b = drawSlot(span, tops.size(), random);
        std::swap(tops[a], tops[b]);
    }
    for (int i = 0; i <= n; ++i)
        plan.steps.push_back({{copyOp(0, tops[size_t(i)], g.W, h)}, i % 15 == 0});
}

void planRandomBoxes(TransitionPlan &plan, const EffectGeometry &g, const UnitRandom &random)
{
    const int grain = grainOf(plan, g.speed);
    const int k = nearestEven(std::sqrt(double(std::max(0, grain))) * 3);
    if (k <= 0)
        return;
    const int bw = max1(g.W / k), bh = max1(g.H / k);
    const int N = intOf((double(g.W) / bw + 1) * (double(g.H) / bh + 1));
    std::vector<QPoint> corners(size_t(N) + 1);
    size_t next = 0;
    for (int i = 0; i <= g.W / bw; ++i) {
        for (int j = 0; j <= g.H / bh && next < corners.size(); ++j)
            corners[next++] = QPoint(i * bw, j * bh);
    }
    for (int swap = 0; swap <= N; ++swap) {
        const size_t a = drawSlot(N + 1, corners.size(), random);
        const size_t b = drawSlot(N + 1, corners.size(), random);
        std::swap(corners[a], corners[b]);
    }
    for (int i = 0; i <= N; ++i) {
        const QPoint corner = corners[size_t(i)];
        plan.steps.push_back({{copyOp(corner.x(), corner.y(), bw, bh)}, i % 30 == 0});
    }
}

// Bars of random length from the top edge and from the left edge, on a grid of cells.
void planRandomChecks(TransitionPlan &plan, const EffectGeometry &g, const UnitRandom &random)
{
    const int d = is(plan, "より精細") ? 1 : is(plan, "普通") ? 2 : is(plan, "より粗い") ? 3 : 0;
    if (d == 0)
        return;
    const int a = nearestEven(double(g.speed) / d);
    if (a <= 0)
        return;
    const int cw = g.W / a, ch = g.H / a;
    if (cw <= 0 || ch <= 0)
        return;
    const int nc = g.W / cw, nr = g.H / ch;
    const int r = nearestEven(30.0 / d);
    const auto cells = [&](int count) { return intOf(random() * count); };
    for (int i = 0; i <= r; ++i) {
        TransitionStep step;
        for (int j = 0; j <= r; ++j) {
            const int x = cells(nc) * cw;
            const int h = cells(nr) * ch;
            step.ops.push_back(copyOp(x, 0, cw, h));
            const int w = cells(nc) * cw;
            const int y = cells(nr) * ch;
            step.ops.push_back(copyOp(0, y, w, ch));
        }
        plan.steps.push_back(std::move(step));
    }
}
