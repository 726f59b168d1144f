#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

// QSettings reads what it can of a damaged INI file and says nothing about a
// file cut short in the middle of a line. These checks catch what it lets
// through, so that a damaged store starts the program with the defaults.

// Why the INI text cannot be a whole store: NUL bytes, invalid UTF-8, a last
// line without its line break, or a line that is neither a [section], a
// comment nor key=value. Empty when the text looks whole.
QString damageOfSettingsText(const QByteArray &text);

// Why the store cannot be trusted: it could not be read, QSettings found a
// format error, or its file is damaged as above. Empty when it can be read.
QString damageOfSettingsStore(QSettings &store);
