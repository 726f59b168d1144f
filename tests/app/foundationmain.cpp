#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

// The user's settings store is found through XDG_CONFIG_HOME, read once per
// process: point it at a private folder before anything opens it.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
