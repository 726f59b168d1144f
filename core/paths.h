#pragma once

#include <optional>

#include <QList>
#include <QString>

// Text operations on file paths. They never touch the file system; "/" is the
// folder separator and the "last" separator or dot is searched from the end of
// the whole text.

// The text with "/" appended unless it already ends in "/" ("" gives "/").
QString withTrailingBackslash(const QString &text);

// Everything before the last "/", ending in "/" ("/photos/a.jpg" gives
// "/photos/", "/a.jpg" gives "/"). Empty when the path holds no "/".
std::optional<QString> parentFolderOf(const QString &path);

// Everything after the last "/"; the whole text when it holds no "/".
QString fileNameOf(const QString &path);

// Everything before the last "." of the whole text, even when that dot lies in
// a folder name. Empty when the text holds no ".".
std::optional<QString> withoutExtension(const QString &path);

// withoutExtension(path) followed by newExtension (given with its dot,
// ".bak"). Empty when the path holds no ".".
std::optional<QString> changeExtension(const QString &path, const QString &newExtension);

// The chosen index of a group of option buttons: chosen[i] tells whether
// button i is chosen. The indices of the chosen buttons are summed, so one
// chosen button gives its index and none gives 0.
int selectedOptionIndex(const QList<bool> &chosen);
