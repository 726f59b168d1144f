#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

// The trash lives under the user's data folder: point HOME and XDG_DATA_HOME
// at a private folder on the same file system as the test files.
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
