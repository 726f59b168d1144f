#pragma once

#include <QImage>
#include <QRect>

#include "core/slideshow/transitionplan.h"

// Paints the operations of `step` onto `screen` from `picture`: copies without smoothing, as
// a plain rectangle copy would, and blends with the operation's constant alpha. Parts of a
// rectangle outside either image are left out. Returns the bounding rectangle of what may
// have changed on the screen (empty when nothing did).
QRect paintTransitionStep(QImage &screen, const QImage &picture, const TransitionStep &step);

// The final copy of every transition: the picture's (0, 0, W, H) onto the whole screen.
void finishTransition(QImage &screen, const QImage &picture);
