// Effects in fixed bands: stripes (4), cross-fade (5), blinds (9), take turns (10).
#include "core/slideshow/effectplans.h"

#include <array>

namespace
{

bool is(const TransitionPlan &plan, const char *variant)
{
    return plan.effect.subName == QString::fromUtf8(variant);
}

// The value of `variant` in `values`, in the order of `variants`; 0 for a variant not listed.
int valueOf(const TransitionPlan &plan, const std::array<const char *, 3> &variants,
            const std::array<int, 3> &values)
{
    for (size_t i = 0; i < variants.size(); ++i) {
        if (is(plan, variants[i]))
            return values[i];
    }
    return 0;
}

constexpr std::array<const char *, 3> kGrains = {"より精細", "普通", "より粗い"};

} // namespace

// Every other stripe first, then the ones between; the screen shows them after each third.
void planStripes(TransitionPlan &plan, const EffectGeometry &g)
{
    if (g.speed <= 0)
        return;
    const bool horizontal = is(plan, "上から下") || is(plan, "上から往復");
    const bool vertical = is(plan, "左から右") || is(plan, "左から往復");
    if (!horizontal && !vertical)
        return;
    const int extent = horizontal ? g.H : g.W;
    const int t = max1(extent / g.speed);
    const int n = extent / t;
    const auto stripe = [&](int j) {
        plan.steps.push_back(
            {{horizontal ? copyOp(0, j * t, g.W, t) : copyOp(j * t, 0, t, g.H)}, j % 3 == 0});
    };
    for (int j = 0; j <= n; j += 2)
        stripe(j);
    if (is(plan, "上から往復") || is(plan, "左から往復")) {
        for (int j = n % 2 == 1 ? n : n - 1; j >= 1; j -= 2)
            stripe(j);
    } else {
        for (int j = 1; j <= n; j += 2)
            stripe(j);
    }
}

// Blends of the whole picture with rising alpha (255 times a fraction, rounded down).
void planCrossFade(TransitionPlan &plan, const EffectGeometry &g)
{
    static const std::vector<int> fine = {204, 153, 102, 76, 51, 25};
    static const std::vector<int> normal = {204, 127, 76, 25};
    static const std::vector<int> coarse = {204, 127, 76};
    const std::vector<int> *alphas = is(plan, "より精細")   ? &fine
                                     : is(plan, "普通")     ? &normal
                                     : is(plan, "より粗い") ? &coarse
                                                            : nullptr;
    if (!alphas)
        return;
    for (auto alpha = alphas->rbegin(); alpha != alphas->rend(); ++alpha) {
        plan.steps.push_back(
            {{{TransitionOp::Kind::Blend, QRect(0, 0, g.W, g.H), QRect(0, 0, g.PW, g.PH), *alpha}},
             true});
    }
}

// All bands close together, line by line from their top edge.
void planBlinds(TransitionPlan &plan, const EffectGeometry &g)
{
    const int lines = valueOf(plan, kGrains, {24, 18, 12});
    if (lines == 0 || g.speed <= 0)
        return;
    const int band = intOf(g.W / (g.speed / 5.0));
    if (band <= 0)
        return;
    const int t = std::max(1, band / lines);
    const int m = band / t;
    for (int i = 0; i <= m; ++i) {
        TransitionStep step;
        for (int top = 0; top < g.H; top += band)
            step.ops.push_back(copyOp(0, top + i * t, g.W, t));
        plan.steps.push_back(std::move(step));
    }
}

// Odd strips come in from the left, the strips below them from the right; the top strip waits
// for the final copy.
void planTakeTurns(TransitionPlan &plan, const EffectGeometry &g)
{
    const int columns = valueOf(plan, kGrains, {48, 24, 12});
    if (columns == 0 || g.speed <= 0)
        return;
    const int t = g.H / g.speed;
    const int sx = g.W / columns;
    if (t <= 0 || sx <= 0)
        return;
    const int n = g.W / sx - 1;
    for (int i = 1; i <= n; ++i) {
        const int k = i * sx;
        TransitionStep step;
        for (int j = 1; j <= g.H / t; j += 2) {
            step.ops.push_back(copyOp(rectOf(0, j * t, k, t), rectOf(g.PW - k, j * t, k, t)));
            step.ops.push_back(
                copyOp(rectOf(g.W - k, (j + 1) * t, k, t), rectOf(0, (j + 1) * t, k, t)));
        }
        plan.steps.push_back(std::move(step));
    }
}
