#include "core/settings/settings.h"
#include "fuzz/fuzzinput.h"

#include <QDateTime>
#include <QFile>
#include <QSettings>

#include <cstdlib>

namespace
{

const QString programFolder = QStringLiteral("/opt/tabilo");

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// QSettings rereads a file only when its size or time changed: give each input a time of its
// own, different from that of any file QSettings writes itself.
QString writeSettingsInput(const uint8_t *data, size_t size)
{
    static qint64 minutes = 0;
    const QString path = writeFuzzInput(data, size);
    QFile file(path);
    require(file.open(QIODevice::ReadWrite));
    require(file.setFileTime(QDateTime::fromSecsSinceEpoch(++minutes * 60),
                             QFileDevice::FileModificationTime));
    return path;
}

} // namespace

// Whatever a start reads from a settings file, the exit writes a file that the next start reads
// back whole and unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeSettingsInput(data, size);
    AppSettings first;
    {
        QSettings store(path, QSettings::IniFormat);
        readSettings(store, programFolder, first);
        require(writeSettings(store, first, first.placement).isEmpty());
    }
    QSettings store(path, QSettings::IniFormat);
    AppSettings second;
    require(readSettings(store, programFolder, second).isEmpty());
    require(second == first);
    return 0;
}
