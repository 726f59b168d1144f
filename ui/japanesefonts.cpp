#include "ui/japanesefonts.h"

#include <QStringList>

void installJapaneseFontSubstitutes()
{
    const QStringList proportionalGothic = {
        QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic")};
    const QStringList gothic = {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    const QStringList proportionalMincho = {QStringLiteral("IPAPMincho"),
                                            QStringLiteral("IPA P明朝")};
    const QStringList mincho = {QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")};

    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportionalGothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), proportionalGothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), proportionalMincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
}

QFont fontFromSetting(const QString &name, double pointSize, bool bold, bool italic)
{
    QFont font(name);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}
