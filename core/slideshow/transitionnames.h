#pragma once

#include <QStringList>

// The transition effects as the user sees them. An effect's index is its stored number
// (SlideEffectMain), a variant's index within its effect the stored SlideEffectSub.

// The thirteen effect names, "なし" first and "ﾗﾝﾀﾞﾑ" last.
const QStringList &transitionEffectNames();

// The variants of effect `effect` in stored order; empty for a number outside the table.
QStringList transitionVariantNames(int effect);
