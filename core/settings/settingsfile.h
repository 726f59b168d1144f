#pragma once

#include <QByteArray>
#include <QList>

// QSettings reads most damage of an INI file line by line, but an unclosed
// quote or a final backslash runs on into the lines after it and takes their
// keys along. Leaving the damaged lines out keeps each damage to its own line.

struct SoundSettingsText {
    QByteArray text;         // the sound lines, each ending in a line break
    QList<int> damagedLines; // numbers (from 1) of the lines left out
};

// Keeps the lines QSettings reads on their own: [section] headers and
// key=value lines with a key, closed quotes, no final backslash, no NUL byte
// and valid UTF-8. Blank lines and comments are dropped without notice. A
// damaged [section] header gives way to the program's own group's header.
SoundSettingsText soundSettingsText(const QByteArray &text);
