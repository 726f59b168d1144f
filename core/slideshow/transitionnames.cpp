#include "core/slideshow/transitionnames.h"

namespace
{

QStringList directions()
{
    return {QStringLiteral("左から右"),     QStringLiteral("右から左"),
            QStringLiteral("上から下"),     QStringLiteral("下から上"),
            QStringLiteral("左上から右下"), QStringLiteral("右上から左下"),
            QStringLiteral("左下から右上"), QStringLiteral("右下から左上"),
            QStringLiteral("中央から外側"), QStringLiteral("外側から中央"),
            QStringLiteral("ﾗﾝﾀﾞﾑ")};
}

// The fineness variants: the transparency effect lists the finer one first, the others
// the ordinary one.
QStringList finerFirst()
{
    return {QStringLiteral("より精細"), QStringLiteral("普通"), QStringLiteral("より粗い")};
}

QStringList ordinaryFirst()
{
    return {QStringLiteral("普通"), QStringLiteral("より精細"), QStringLiteral("より粗い")};
}

} // namespace

const QStringList &transitionEffectNames()
{
    static const QStringList names = {
        QStringLiteral("なし"),     QStringLiteral("ﾜｲﾌﾟ"),       QStringLiteral("ﾌｪｰﾄﾞｲﾝ"),
        QStringLiteral("ﾛｰﾙ"),      QStringLiteral("ｽﾄﾗｲﾌﾟ"),     QStringLiteral("ﾄﾗﾝｽﾍﾟｱ"),
        QStringLiteral("ﾗﾝﾀﾞﾑﾗｲﾝ"), QStringLiteral("ﾗﾝﾀﾞﾑﾎﾞｯｸｽ"), QStringLiteral("ｵｰﾌﾟﾝ"),
        QStringLiteral("ﾌﾞﾗｲﾝﾄﾞ"),  QStringLiteral("ﾃｲｸﾀｰﾝ"),     QStringLiteral("ﾗﾝﾀﾞﾑﾁｪｯｸ"),
        QStringLiteral("ﾗﾝﾀﾞﾑ")};
    return names;
}

QStringList transitionVariantNames(int effect)
{
    switch (effect) {
    case 0:
        return {QStringLiteral("なし")};
    case 1:
    case 2:
        return directions();
    case 3:
        return {QStringLiteral("左から右"), QStringLiteral("上から下")};
    case 4:
        return {QStringLiteral("上から下"), QStringLiteral("左から右"),
                QStringLiteral("上から往復"), QStringLiteral("左から往復")};
    case 5:
        return finerFirst();
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
        return ordinaryFirst();
    case 8:
        return {QStringLiteral("中央から左右"), QStringLiteral("中央から上下")};
    case 12:
        return {QStringLiteral("ﾗﾝﾀﾞﾑ")};
    default:
        return {};
    }
}
