#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "tests/support/privatehome.h"
#include "ui/japanesefonts.h"

// Window tests need one application object for the whole run. They run on the offscreen
// platform (96 DPI, no window manager) also when ctest lists them, without its environment,
// and in a home folder of their own.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!usePrivateHome(home))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tabilo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabilo"));
    installJapaneseFontSubstitutes();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
