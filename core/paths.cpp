#include "core/paths.h"

namespace
{
const QChar separator = u'/';
}

QString withTrailingBackslash(const QString &text)
{
    if (text.endsWith(separator))
        return text;
    return text + separator;
}

std::optional<QString> parentFolderOf(const QString &path)
{
    const qsizetype last = path.lastIndexOf(separator);
    if (last < 0)
        return std::nullopt;
    return withTrailingBackslash(path.left(last));
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(separator) + 1);
}

std::optional<QString> withoutExtension(const QString &path)
{
    const qsizetype lastDot = path.lastIndexOf(u'.');
    if (lastDot < 0)
        return std::nullopt;
    return path.left(lastDot);
}

std::optional<QString> changeExtension(const QString &path, const QString &newExtension)
{
    const std::optional<QString> stem = withoutExtension(path);
    if (!stem)
        return std::nullopt;
    return *stem + newExtension;
}

int selectedOptionIndex(const QList<bool> &chosen)
{
    int index = 0;
    for (int i = 0; i < chosen.size(); ++i) {
        if (chosen[i])
            index += i;
    }
    return index;
}
