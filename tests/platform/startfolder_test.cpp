#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/startfolder.h"
#include "tests/support/qtprinters.h"

// The test main points HOME and XDG_CONFIG_HOME at a private folder, where user-dirs.dirs names
// the pictures folder as the desktop's xdg-user-dirs writes it.
TEST(StartFolder, PicturesFolderWhenItExistsElseHome)
{
    const QString home = QDir::homePath();
    const QString userDirs =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs");
    ASSERT_TRUE(QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME")));
    const QString pictures = home + QStringLiteral("/写真");

    struct Case {
        const char *what;
        bool picturesExist;
        QString expected;
    };
    const QList<Case> cases = {
        {"the named pictures folder exists", true, pictures},
        {"the named pictures folder is missing", false, home},
    };
    for (const Case &c : cases) {
        QFile file(userDirs);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("XDG_PICTURES_DIR=\"$HOME/写真\"\n");
        file.close();
        if (c.picturesExist) {
            ASSERT_TRUE(QDir().mkpath(pictures));
        }
        EXPECT_EQ(defaultStartFolder(), c.expected) << c.what;
        QDir(pictures).removeRecursively();
        QFile::remove(userDirs);
    }
}
