#pragma once

// Lets GoogleTest print Qt texts readably in failure messages. Include it in
// EVERY test file of an executable that compares QString, QByteArray or
// QStringList values: a file without it instantiates the byte-dump printer,
// and the linker may keep that one for the whole executable.

#include <ostream>

#include <QByteArray>
#include <QString>
#include <QStringList>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '{';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *os << (i ? ", \"" : "\"") << texts[i].toStdString() << '"';
    *os << '}';
}
