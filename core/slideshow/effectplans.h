#pragma once

#include <cmath>

#include "core/slideshow/transitionplan.h"

// The plans of the single effects, by number; planTransition picks among them. Each appends
// its steps to `plan` for the variant in plan.effect.subName.
struct EffectGeometry {
    int W = 0; // screen
    int H = 0;
    int PW = 0; // picture
    int PH = 0;
    int speed = 0;
};

void planWipe(TransitionPlan &plan, const EffectGeometry &g);                                  // 1
void planSlideIn(TransitionPlan &plan, const EffectGeometry &g);                               // 2
void planRoll(TransitionPlan &plan, const EffectGeometry &g);                                  // 3
void planStripes(TransitionPlan &plan, const EffectGeometry &g);                               // 4
void planCrossFade(TransitionPlan &plan, const EffectGeometry &g);                             // 5
void planOpen(TransitionPlan &plan, const EffectGeometry &g);                                  // 8
void planBlinds(TransitionPlan &plan, const EffectGeometry &g);                                // 9
void planTakeTurns(TransitionPlan &plan, const EffectGeometry &g);                             // 10
void planRandomLines(TransitionPlan &plan, const EffectGeometry &g, const UnitRandom &random); // 6
void planRandomBoxes(TransitionPlan &plan, const EffectGeometry &g, const UnitRandom &random); // 7
void planRandomChecks(TransitionPlan &plan, const EffectGeometry &g,
                      const UnitRandom &random); // 11

// Rounding down, as the effects' arithmetic takes whole parts.
inline int intOf(double x)
{
    return int(std::floor(x));
}

// Rounding to the nearest whole number, halves to the even neighbour.
inline int nearestEven(double x)
{
    return int(std::nearbyint(x));
}

// x, or 1 where x is 0.
inline int max1(int x)
{
    return x == 0 ? 1 : x;
}

// A copy of the picture's same rectangle; a negative extent draws nothing.
inline TransitionOp copyOp(int x, int y, int w, int h)
{
    const QRect r(x, y, std::max(0, w), std::max(0, h));
    return {TransitionOp::Kind::Copy, r, r};
}

inline TransitionOp copyOp(const QRect &target, const QRect &source)
{
    return {TransitionOp::Kind::Copy, target, source};
}

inline QRect rectOf(int x, int y, int w, int h)
{
    return QRect(x, y, std::max(0, w), std::max(0, h));
}
