#pragma once

#include <array>

#include <QString>
#include <QStringList>

struct SlideSettings;

// The transition the slide show plays between pictures. The effect routines choose by
// subName; the numbers are what the settings store.
struct SlideEffect {
    QString name;
    qint32 number = 0; // 0..12
    QString subName;
    qint32 subNumber = 0;
    qint32 speed = 80; // more steps the larger it is

    bool operator==(const SlideEffect &) const = default;
};

inline constexpr int kEffectCount = 13;
inline constexpr int kMaxVariants = 11;
inline constexpr int kRandomEffect = 12;

// The effect names, their variant counts and the variant names, a row per variant index and a
// column per effect; cells no effect lists hold the empty text.
struct TransitionTables {
    std::array<QString, kEffectCount> names;
    std::array<int, kEffectCount> counts{};
    std::array<std::array<QString, kEffectCount>, kMaxVariants> subNames;

    QString variantName(int effect, int variant) const;
};

// Fills the program's tables; filling again gives the same tables.
void initTransitionTables();
// The tables as initTransitionTables left them (empty before the first call).
const TransitionTables &transitionTables();

// The effect names in stored order ("なし" first, "ﾗﾝﾀﾞﾑ" last), and the variants of one effect
// in stored order (empty for a number outside the table), as the user picks them.
QStringList transitionEffectNames();
QStringList transitionVariantNames(int effect);

// Brings stored values into the ranges the show and the options accept: the speed 20..200,
// the effect 0..12, its variant below the effect's count, the interval 1..60 seconds. Then
// takes both names from the tables.
void clampSlideSettings(SlideSettings &slide);

// The settings' transition as a record, clamped as clampSlideSettings does.
SlideEffect slideEffectFromSettings(const SlideSettings &slide);
