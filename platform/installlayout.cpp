#include "platform/installlayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace
{

// `relative` (from the build's install rules) below `programFolder` when installed there.
QString installedOrBeside(const QString &programFolder, const QString &relative)
{
    const QString installed = QDir::cleanPath(QDir(programFolder).filePath(relative));
    return QFileInfo(installed).isDir() ? installed : QDir::cleanPath(programFolder);
}

} // namespace

QString dataFolderFor(const QString &programFolder)
{
    return installedOrBeside(programFolder, QStringLiteral(TABILO_DATA_FROM_PROGRAM));
}

QString libraryFolderFor(const QString &programFolder)
{
    return installedOrBeside(programFolder, QStringLiteral(TABILO_LIBRARIES_FROM_PROGRAM));
}

QString dataFolder()
{
    return dataFolderFor(QCoreApplication::applicationDirPath());
}

QString libraryFolder()
{
    return libraryFolderFor(QCoreApplication::applicationDirPath());
}
