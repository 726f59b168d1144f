#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One JSON object on one line, keys in the order they are added. Texts are written as UTF-8
// with quotes, backslashes and control characters escaped; doubles in their shortest
// round-trip form.
class JsonLine
{
  public:
    JsonLine &add(const char *key, const QString &value);
    JsonLine &add(const char *key, qint64 value);
    JsonLine &add(const char *key, bool value);
    JsonLine &add(const char *key, double value);

    QByteArray text() const { return m_text + '}'; }

  private:
    void addKey(const char *key);

    QByteArray m_text = "{";
};

// `value` as a JSON string literal, quotes included.
QByteArray jsonString(const QString &value);
