#include "cli/clisupport.h"

#include <cstdio>

#include <QFile>
#include <QFileInfo>

#include "cli/commands.h"

void printLine(const QString &line)
{
    printLine(line.toUtf8());
}

void printLine(const QByteArray &utf8Line)
{
    std::fwrite(utf8Line.constData(), 1, size_t(utf8Line.size()), stdout);
    std::fputc('\n', stdout);
}

void printError(const QString &message)
{
    const QByteArray text = QStringLiteral("tabilo-cli: %1\n").arg(message).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

int failUsage(const QString &message)
{
    printError(message);
    return kUsageStatus;
}

bool checkReadableFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        failUsage(QStringLiteral("%1: no such file").arg(path));
        return false;
    }
    if (!info.isFile()) {
        failUsage(QStringLiteral("%1: not a regular file").arg(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failUsage(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}
