#include "core/rename/datename.h"

namespace
{

struct Piece {
    qsizetype at;
    qsizetype width;
};

// Year, month, day, then hour, minute, second, as 0-based positions in the date text.
constexpr Piece kDatePieces[] = {{0, 4}, {5, 2}, {8, 2}};
constexpr Piece kTimePieces[] = {{11, 2}, {14, 2}, {17, 2}};

bool appendDigits(QString &name, const QString &text, Piece piece)
{
    if (text.size() < piece.at + piece.width)
        return false;
    for (qsizetype i = piece.at; i < piece.at + piece.width; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        name.append(QChar(c));
    }
    return true;
}

} // namespace

std::optional<QString> dateNameOf(const QString &dateText)
{
    QString name;
    for (const Piece piece : kDatePieces) {
        if (!appendDigits(name, dateText, piece))
            return std::nullopt;
    }
    name.append(u'_');
    for (const Piece piece : kTimePieces) {
        if (!appendDigits(name, dateText, piece))
            return std::nullopt;
    }
    return name;
}

QString numberedDateName(const QString &dateName, int counter)
{
    return dateName + u'_' + QString::number(counter) + QStringLiteral(".jpg");
}
