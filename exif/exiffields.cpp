#include "exif/exiffields.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{

const QString kUndefined = QStringLiteral("未定義");

// The longest digit string formatMagnitude builds: a carry digit, the zeros before the
// smallest double's digits, 15 significant digits, and the integer digits of the largest
// double with up to kMaxDecimals decimals.
constexpr int kMaxDecimals = 15;
constexpr int kMaxDigits = 1 + 324 + 15 + 309 + kMaxDecimals;

// The digits of |value| rounded half away from zero at `decimals` places (at most 15).
QString formatMagnitude(double value, int decimals)
{
    decimals = qBound(0, decimals, kMaxDecimals);
    // d.dddddddddddddde±x: the 15 significant digits the platform's decimal conversion keeps.
    // to_chars gives the same correctly rounded digits as printf's %.14e, many times faster.
    char scientific[40] = {};
    std::to_chars(scientific, scientific + sizeof scientific - 1, std::fabs(value),
                  std::chars_format::scientific, 14);
    int integerDigits = std::atoi(std::strchr(scientific, 'e') + 1) + 1;

    // digits[0] takes a carry out of the first digit; it is dropped when none comes.
    std::array<char, kMaxDigits> digits;
    int length = 0;
    digits[length++] = '0';
    for (; integerDigits <= 0; ++integerDigits)
        digits[length++] = '0';
    digits[length++] = scientific[0];
    for (int i = 0; i < 14; ++i)
        digits[length++] = scientific[2 + i];
    const int kept = 1 + integerDigits + decimals;
    for (; length < kept; ++length)
        digits[length] = '0';
    if (length > kept && digits[kept] >= '5') {
        int i = kept - 1;
        for (; digits[i] == '9'; --i) // stops at the carry digit at the latest
            digits[i] = '0';
        ++digits[i];
    }
    const int first = digits[0] == '0' ? 1 : 0;
    QString text = QString::fromLatin1(digits.data() + first, 1 + integerDigits - first);
    if (decimals > 0) {
        text += u'.';
        text += QLatin1String(digits.data() + 1 + integerDigits, decimals);
    }
    return text;
}

} // namespace

namespace ExifFields
{

QString versionText(const std::optional<std::array<char, 4>> &version)
{
    if (!version)
        return QString(QChar(0));
    const QChar text[] = {QChar(uchar((*version)[1])), u'.', QChar(uchar((*version)[2]))};
    return QString(text, 3);
}

QString dateText(const QByteArray &date)
{
    // "YYYY:MM:DD HH:MM:SS" keeps its character positions: characters 1-4, 6-7, 9-10, 12-13,
    // 15-16 and 18-19 of the value, a blank for each one missing, between fixed separators.
    QString text = QStringLiteral("    /  /     :  :  ");
    QChar *out = text.data();
    const qsizetype available = qMin(date.size(), text.size());
    for (qsizetype i = 0; i < available; ++i) {
        if (i != 4 && i != 7 && i != 10 && i != 13 && i != 16)
            out[i] = QChar(static_cast<uchar>(date[i]));
    }
    return text;
}

QString flashText(const std::optional<quint32> &flash)
{
    if (flash == 0u)
        return QStringLiteral("OFF");
    if (flash == 1u)
        return QStringLiteral("ON ");
    return kUndefined;
}

QString shutterSpeedText(ShutterKind kind, qint32 numerator, qint32 denominator)
{
    if (denominator == 0)
        return kUndefined;
    const double quotient = static_cast<double>(numerator) / denominator;
    const double seconds = kind == ShutterKind::Apex ? std::pow(2.0, -quotient) : quotient;
    // A zero time has no reciprocal; an APEX value far out of range overflows.
    if (seconds == 0.0 || !std::isfinite(seconds) || !std::isfinite(1.0 / seconds))
        return kUndefined;
    if (seconds >= 1.0)
        return formatFixed(seconds, 1);
    return QStringLiteral("1/") + formatFixed(1.0 / seconds, 0);
}

QString pictureModeText(qint32 compressionNumerator)
{
    switch (compressionNumerator) {
    case 1:
        return QStringLiteral("BASIC");
    case 2:
        return QStringLiteral("NORMAL");
    case 4:
        return QStringLiteral("FINE");
    default:
        return kUndefined;
    }
}

QString meteringModeText(qint16 mode)
{
    switch (mode) {
    case 0:
        return QStringLiteral("不明");
    case 1:
        return QStringLiteral("平均");
    case 2:
        return QStringLiteral("中央重点");
    case 3:
        return QStringLiteral("ｽﾎﾟｯﾄ");
    case 4:
        return QStringLiteral("ﾏﾙﾁｽﾎﾟｯﾄ");
    case 5:
        return QStringLiteral("分割測光");
    case 6:
        return QStringLiteral("部分測光");
    default:
        return QString();
    }
}

QString exposureProgramText(qint16 program)
{
    switch (program) {
    case 0:
        return kUndefined;
    case 1:
        return QStringLiteral("ﾏﾆｭｱﾙ");
    case 2:
        return QStringLiteral("ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ");
    case 3:
        return QStringLiteral("露出優先");
    case 4:
        return QStringLiteral("ｼｬｯﾀｰ優先");
    case 5:
        return QStringLiteral("CREATIVEﾌﾟﾛｸﾞﾗﾑ");
    case 6:
        return QStringLiteral("ACTIONﾌﾟﾛｸﾞﾗﾑ");
    case 7:
        return QStringLiteral("ﾎﾟｰﾄﾚｲﾄﾓｰﾄﾞ");
    case 8:
        return QStringLiteral("ﾗﾝﾄﾞｽｹｰﾌﾟﾓｰﾄﾞ");
    default:
        return QString();
    }
}

QString exposureBiasText(qint32 numerator, qint32 denominator)
{
    if (denominator == 0)
        return kUndefined;
    // The pattern "+0.0 ; -0.0 ; 0": the section follows the sign before rounding, and the
    // blanks around each ";" belong to the sections.
    const double bias = static_cast<double>(numerator) / denominator;
    if (bias > 0)
        return u'+' + formatMagnitude(bias, 1) + u' ';
    if (bias < 0)
        return QStringLiteral(" -") + formatMagnitude(bias, 1) + u' ';
    return QStringLiteral(" 0");
}

double ratio(qint32 numerator, qint32 denominator)
{
    if (denominator == 0)
        return 0.0;
    return static_cast<double>(numerator) / denominator;
}

QString formatFixed(double value, int decimals)
{
    const QString magnitude = formatMagnitude(value, decimals);
    return value < 0 ? u'-' + magnitude : magnitude;
}

} // namespace ExifFields
