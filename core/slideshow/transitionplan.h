#pragma once

#include <functional>
#include <vector>

#include <QRect>
#include <QSize>

#include "core/slideshow/transitiontables.h"

// One drawing operation of a transition step. Rectangles are in pixels; an empty one draws
// nothing.
struct TransitionOp {
    enum class Kind {
        Copy,       // picture's source onto the screen's target (stretched when they differ)
        ScreenMove, // the screen's own source moved to target's top left (same size)
        Blend,      // picture's source over the screen's target with constant alpha
    };
    Kind kind = Kind::Copy;
    QRect target;
    QRect source;
    int alpha = 255; // Blend only, 0..255

    bool operator==(const TransitionOp &) const = default;
};

// A step: its operations, then a refresh of the screen when `refresh` is set.
struct TransitionStep {
    std::vector<TransitionOp> ops;
    bool refresh = true;
};

// The steps that turn the screen into the picture. After the last step (or when a key ends
// the steps early) the whole picture is copied to the screen; an empty plan is that copy alone.
struct TransitionPlan {
    SlideEffect effect; // what was played: the random choices already made
    std::vector<TransitionStep> steps;
};

// A number in [0, 1), as the random effects and variants draw them.
using UnitRandom = std::function<double()>;

// The plan of `effect` on a screen of `screen` pixels for a picture of `picture` pixels.
// Effect 12 and variant "ﾗﾝﾀﾞﾑ" choose with `random` on the plan's copy of the record. An effect
// number outside 0..12 plays effect 0 and sets `unknownEffect`. A variant an effect does not
// list, or a value that would divide by zero, gives no steps.
TransitionPlan planTransition(const SlideEffect &effect, QSize screen, QSize picture,
                              const UnitRandom &random, bool *unknownEffect = nullptr);
