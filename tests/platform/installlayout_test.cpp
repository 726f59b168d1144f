#include "platform/installlayout.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "tests/support/qtprinters.h"

// Built: data and libraries beside the program. Installed: in PREFIX/share/tabilo and
// PREFIX/lib/tabilo, found from PREFIX/bin wherever PREFIX is.
TEST(InstallLayout, FindsDataAndLibrariesBesideOrInstalled)
{
    struct Case {
        QStringList folders;
        QString data;
        QString libraries;
    };
    const Case cases[] = {
        {{"bin"}, "bin", "bin"},
        {{"bin", "share/tabilo", "lib/tabilo"}, "share/tabilo", "lib/tabilo"},
        {{"bin", "share/tabilo"}, "share/tabilo", "bin"},
    };
    for (const Case &layout : cases) {
        SCOPED_TRACE(layout.folders.join(QLatin1Char(' ')).toStdString());
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        for (const QString &folder : layout.folders)
            ASSERT_TRUE(QDir(root.path()).mkpath(folder));
        const QString program = root.filePath(QStringLiteral("bin"));
        EXPECT_EQ(dataFolderFor(program), root.filePath(layout.data));
        EXPECT_EQ(libraryFolderFor(program), root.filePath(layout.libraries));
    }
}
