#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "tests/support/privatehome.h"

int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!usePrivateHome(home))
        return 1;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
