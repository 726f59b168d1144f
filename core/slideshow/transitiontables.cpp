#include "core/slideshow/transitiontables.h"

#include <algorithm>

#include <QStringList>

#include "core/settings/settings.h"

namespace
{

TransitionTables &tables()
{
    static TransitionTables instance;
    return instance;
}

const QStringList kDirections = {
    QStringLiteral("左から右"),     QStringLiteral("右から左"),     QStringLiteral("上から下"),
    QStringLiteral("下から上"),     QStringLiteral("左上から右下"), QStringLiteral("右上から左下"),
    QStringLiteral("左下から右上"), QStringLiteral("右下から左上"), QStringLiteral("中央から外側"),
    QStringLiteral("外側から中央"), QStringLiteral("ﾗﾝﾀﾞﾑ"),
};

const QStringList kGrain = {QStringLiteral("普通"), QStringLiteral("より精細"),
                            QStringLiteral("より粗い")};

void setEffect(TransitionTables &t, int number, const QString &name, const QStringList &variants)
{
    t.names[number] = name;
    t.counts[number] = int(variants.size());
    for (int row = 0; row < kMaxVariants; ++row)
        t.subNames[row][number] = row < variants.size() ? variants[row] : QString();
}

constexpr int kMinSpeed = 20;
constexpr int kMaxSpeed = 200;
constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 60;

} // namespace

QString TransitionTables::variantName(int effect, int variant) const
{
    if (effect < 0 || effect >= kEffectCount || variant < 0 || variant >= kMaxVariants)
        return QString();
    return subNames[variant][effect];
}

void initTransitionTables()
{
    TransitionTables &t = tables();
    setEffect(t, 0, QStringLiteral("なし"), {QStringLiteral("なし")});
    setEffect(t, 1, QStringLiteral("ﾜｲﾌﾟ"), kDirections);
    setEffect(t, 2, QStringLiteral("ﾌｪｰﾄﾞｲﾝ"), kDirections);
    setEffect(t, 3, QStringLiteral("ﾛｰﾙ"),
              {QStringLiteral("左から右"), QStringLiteral("上から下")});
    setEffect(t, 4, QStringLiteral("ｽﾄﾗｲﾌﾟ"),
              {QStringLiteral("上から下"), QStringLiteral("左から右"), QStringLiteral("上から往復"),
               QStringLiteral("左から往復")});
    setEffect(t, 5, QStringLiteral("ﾄﾗﾝｽﾍﾟｱ"),
              {QStringLiteral("より精細"), QStringLiteral("普通"), QStringLiteral("より粗い")});
    setEffect(t, 6, QStringLiteral("ﾗﾝﾀﾞﾑﾗｲﾝ"), kGrain);
    setEffect(t, 7, QStringLiteral("ﾗﾝﾀﾞﾑﾎﾞｯｸｽ"), kGrain);
    setEffect(t, 8, QStringLiteral("ｵｰﾌﾟﾝ"),
              {QStringLiteral("中央から左右"), QStringLiteral("中央から上下")});
    setEffect(t, 9, QStringLiteral("ﾌﾞﾗｲﾝﾄﾞ"), kGrain);
    setEffect(t, 10, QStringLiteral("ﾃｲｸﾀｰﾝ"), kGrain);
    setEffect(t, 11, QStringLiteral("ﾗﾝﾀﾞﾑﾁｪｯｸ"), kGrain);
    setEffect(t, 12, QStringLiteral("ﾗﾝﾀﾞﾑ"), {QStringLiteral("ﾗﾝﾀﾞﾑ")});
}

const TransitionTables &transitionTables()
{
    return tables();
}

QStringList transitionEffectNames()
{
    const TransitionTables &t = transitionTables();
    return QStringList(t.names.begin(), t.names.end());
}

QStringList transitionVariantNames(int effect)
{
    QStringList variants;
    if (effect < 0 || effect >= kEffectCount)
        return variants;
    for (int variant = 0; variant < transitionTables().counts[effect]; ++variant)
        variants.append(transitionTables().variantName(effect, variant));
    return variants;
}

void clampSlideSettings(SlideSettings &slide)
{
    const TransitionTables &t = transitionTables();
    slide.SlideEffectBias = std::clamp(slide.SlideEffectBias, kMinSpeed, kMaxSpeed);
    slide.SlideEffectMain = std::clamp(slide.SlideEffectMain, 0, kEffectCount - 1);
    const int variants = std::max(1, t.counts[slide.SlideEffectMain]);
    slide.SlideEffectSub = std::clamp(slide.SlideEffectSub, 0, variants - 1);
    slide.SlideInterval = std::clamp(slide.SlideInterval, kMinInterval, kMaxInterval);
    slide.mainEffectName = t.names[slide.SlideEffectMain];
    slide.variantName = t.variantName(slide.SlideEffectMain, slide.SlideEffectSub);
}

SlideEffect slideEffectFromSettings(const SlideSettings &slide)
{
    SlideSettings clamped = slide;
    clampSlideSettings(clamped);
    return {clamped.mainEffectName, clamped.SlideEffectMain, clamped.variantName,
            clamped.SlideEffectSub, clamped.SlideEffectBias};
}
