#include <gtest/gtest.h>

#include <QApplication>

#include "app/japanesefonts.h"

// The viewer, About and help tests share one application object.
int main(int argc, char **argv)
{
    // Listing the tests (ctest's discovery) runs without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tabilo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabilo"));
    installJapaneseFontSubstitutes();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
