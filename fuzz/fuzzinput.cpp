#include "fuzz/fuzzinput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace
{

QTemporaryDir &workFolder()
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    return folder;
}

} // namespace

QString writeFuzzInput(const uint8_t *data, size_t size)
{
    const QString path = workFolder().filePath(QStringLiteral("input.jpg"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    return path;
}

QString fuzzOutputPath()
{
    return workFolder().filePath(QStringLiteral("thumb.jpg"));
}

QString fuzzWorkFolder()
{
    const QString name = QStringLiteral("work");
    if (!QDir(workFolder().path()).mkpath(name))
        std::abort();
    return workFolder().filePath(name) + u'/';
}
