#include "core/settings/settingsfile.h"

#include "core/settings/settingsgroup.h"

namespace
{
const QByteArray byteOrderMark("\xEF\xBB\xBF");

// What QSettings makes of one line: it ends at an unquoted ';', its key at
// the first unquoted '='; inside quotes or after a final backslash it runs on
// into the next line.
struct LineScan {
    qsizetype length = 0;
    qsizetype equals = -1;
    bool runsOn = false;
};

LineScan scanLine(const QByteArray &line)
{
    LineScan scan{line.size()};
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\') {
            if (++i == line.size())
                scan.runsOn = true;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && c == '=' && scan.equals < 0) {
            scan.equals = i;
        } else if (!inQuotes && c == ';') {
            scan.length = i;
            return scan;
        }
    }
    scan.runsOn = scan.runsOn || inQuotes;
    return scan;
}

bool isComment(const QByteArray &line)
{
    return line.startsWith(';') || line.startsWith('#');
}

// `line` is trimmed and neither blank nor a comment.
bool isSound(const QByteArray &line)
{
    if (line.contains('\0') || !line.isValidUtf8())
        return false;
    const LineScan scan = scanLine(line);
    if (scan.runsOn)
        return false;
    if (line.startsWith('['))
        return line.first(scan.length).contains(']');
    return scan.equals > 0 && !line.first(scan.equals).trimmed().isEmpty();
}
} // namespace

SoundSettingsText soundSettingsText(const QByteArray &text)
{
    SoundSettingsText sound;
    const QByteArray body =
        text.startsWith(byteOrderMark) ? text.sliced(byteOrderMark.size()) : text;
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype number = 0; number < lines.size(); ++number) {
        // QSettings also ends a line at a carriage return.
        bool damaged = false;
        for (const QByteArray &part : lines[number].split('\r')) {
            const QByteArray line = part.trimmed();
            if (line.isEmpty() || isComment(line))
                continue;
            if (isSound(line)) {
                sound.text += line + '\n';
                continue;
            }
            damaged = true;
            // The program keeps one group: the keys after a damaged header are its keys.
            if (line.startsWith('['))
                sound.text += '[' + SettingsGroup::name.toUtf8() + "]\n";
        }
        if (damaged)
            sound.damagedLines.append(int(number + 1));
    }
    return sound;
}
