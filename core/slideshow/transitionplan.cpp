#include "core/slideshow/transitionplan.h"

#include "core/slideshow/effectplans.h"

namespace
{

// Effect 12 plays one of effects 1..11 with one of its variants.
void chooseRandomEffect(SlideEffect &effect, const UnitRandom &random)
{
    const TransitionTables &t = transitionTables();
    effect.number = intOf(random() * 11) + 1;
    effect.name = t.names[effect.number];
    effect.subNumber = intOf(random() * t.counts[effect.number]);
    effect.subName = t.variantName(effect.number, effect.subNumber);
}

// Variant "ﾗﾝﾀﾞﾑ" of effects 1 and 2 plays one of the ten directions before it.
void chooseRandomDirection(SlideEffect &effect, const UnitRandom &random)
{
    const TransitionTables &t = transitionTables();
    const int row = intOf((t.counts[effect.number] - 1) * random());
    effect.subName = t.variantName(effect.number, row);
}

} // namespace

TransitionPlan planTransition(const SlideEffect &effect, QSize screen, QSize picture,
                              const UnitRandom &random, bool *unknownEffect)
{
    TransitionPlan plan;
    plan.effect = effect;
    SlideEffect &chosen = plan.effect;
    if (unknownEffect)
        *unknownEffect = chosen.number < 0 || chosen.number > kRandomEffect;
    if (chosen.number == kRandomEffect)
        chooseRandomEffect(chosen, random);
    if ((chosen.number == 1 || chosen.number == 2) && chosen.subName == QStringLiteral("ﾗﾝﾀﾞﾑ"))
        chooseRandomDirection(chosen, random);
    if (screen.isEmpty() || picture.isEmpty())
        return plan;

    const EffectGeometry g{screen.width(), screen.height(), picture.width(), picture.height(),
                           chosen.speed};
    switch (chosen.number) {
    case 1:
        planWipe(plan, g);
        break;
    case 2:
        planSlideIn(plan, g);
        break;
    case 3:
        planRoll(plan, g);
        break;
    case 4:
        planStripes(plan, g);
        break;
    case 5:
        planCrossFade(plan, g);
        break;
    case 6:
        planRandomLines(plan, g, random);
        break;
    case 7:
        planRandomBoxes(plan, g, random);
        break;
    case 8:
        planOpen(plan, g);
        break;
    case 9:
        planBlinds(plan, g);
        break;
    case 10:
        planTakeTurns(plan, g);
        break;
    case 11:
        planRandomChecks(plan, g, random);
        break;
    default:
        break; // 0, and any unknown number, is the final copy alone
    }
    return plan;
}
