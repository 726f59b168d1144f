#include "core/settings/settingstext.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace
{
std::optional<qint64> parseWhole(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

template <typename Number> QString shortestText(Number value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}
} // namespace

std::optional<qint16> parseInt16(const QString &text)
{
    const std::optional<qint64> value = parseWhole(text);
    if (!value || *value < std::numeric_limits<qint16>::min() ||
        *value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(*value);
}

std::optional<qint32> parseInt32(const QString &text)
{
    const std::optional<qint64> value = parseWhole(text);
    if (!value || *value < std::numeric_limits<qint32>::min() ||
        *value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return qint32(quint32(*value));
}

std::optional<double> parseDouble(const QString &text)
{
    QString normalised = text.trimmed();
    normalised.replace(u',', u'.');
    bool ok = false;
    const double value = normalised.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> parseFloat(const QString &text)
{
    const std::optional<double> value = parseDouble(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

std::optional<bool> parseBool(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<qint64> number = parseWhole(trimmed);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

QString formatFloat(float value)
{
    return shortestText(value);
}

QString formatDouble(double value)
{
    return shortestText(value);
}

QString formatBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
