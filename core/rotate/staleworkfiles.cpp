#include "core/rotate/staleworkfiles.h"

#include <cerrno>

#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QRegularExpression>

#include "exif/workfile.h"

namespace
{

// The process number of a work file's name, or 0 when it is not one.
qint64 ownerOf(const QString &name)
{
    static const QRegularExpression workFile(QStringLiteral(
        R"(^\..+\.(?:turn-([0-9]{1,9})-[0-9]+-(?:with|without)|spinwell-([0-9]{1,9})-[0-9]+)$)"));
    const QRegularExpressionMatch match = workFile.match(name);
    if (!match.hasMatch())
        return 0;
    return (match.capturedView(1).isEmpty() ? match.capturedView(2) : match.capturedView(1))
        .toLongLong();
}

bool isGone(qint64 process)
{
    return process > 0 && process != ::getpid() && ::kill(pid_t(process), 0) != 0 && errno == ESRCH;
}

} // namespace

void removeStaleWorkFiles(const QString &folder)
{
    const QStringList names =
        QDir(folder).entryList({QStringLiteral(".*.turn-*"), QStringLiteral(".*.spinwell-*")},
                               QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (isGone(ownerOf(name)))
            removeFile(folder + u'/' + name);
    }
}
