#include "cli/jsonline.h"

#include <charconv>
#include <cmath>

QByteArray jsonString(const QString &value)
{
    QByteArray out = "\"";
    for (const char byte : value.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            out += QByteArray("\\u00") + QByteArray::number(c, 16).rightJustified(2, '0');
        } else {
            out += char(c);
        }
    }
    return out + '"';
}

void JsonLine::addKey(const char *key)
{
    if (m_text.size() > 1)
        m_text += ',';
    m_text += jsonString(QString::fromUtf8(key)) + ':';
}

JsonLine &JsonLine::add(const char *key, const QString &value)
{
    addKey(key);
    m_text += jsonString(value);
    return *this;
}

JsonLine &JsonLine::add(const char *key, qint64 value)
{
    addKey(key);
    m_text += QByteArray::number(value);
    return *this;
}

JsonLine &JsonLine::add(const char *key, bool value)
{
    addKey(key);
    m_text += value ? "true" : "false";
    return *this;
}

JsonLine &JsonLine::add(const char *key, double value)
{
    addKey(key);
    if (!std::isfinite(value)) {
        m_text += "null"; // JSON has no infinities
        return *this;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    m_text += QByteArray(buffer, result.ptr - buffer);
    return *this;
}
