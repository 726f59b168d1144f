#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// The settings store (XDG_CONFIG_HOME), the trash and the wallpaper bitmap (XDG_DATA_HOME) and
// the desktop's thumbnail store (XDG_CACHE_HOME) are found through the user's folders, read once
// per process: a test main points them at `home`, on the same file system as the test files, before
// anything opens them, so that no test touches the folders of whoever runs it.
inline bool usePrivateHome(const QTemporaryDir &home)
{
    if (!home.isValid())
        return false;
    qputenv("HOME", home.path().toUtf8());
    const QString dataHome = home.path() + QStringLiteral("/data");
    QDir().mkpath(dataHome);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toUtf8());
    return true;
}
