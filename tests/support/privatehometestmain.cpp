#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

// The settings store (XDG_CONFIG_HOME) and the trash (XDG_DATA_HOME) are found through the
// user's folders, read once per process: point them at a private folder, on the same file
// system as the test files, before anything opens them.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toUtf8());
    const QString dataHome = home.path() + QStringLiteral("/data");
    QDir().mkpath(dataHome);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
