#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/tempfolder.h"
#include "tests/support/qtprinters.h"

TEST(TemporaryFolder, IsPrivateStableAndEndsInSeparator)
{
    const QString folder = temporaryFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_EQ(temporaryFolder(), folder);
    EXPECT_NE(folder, QDir::tempPath() + u'/');

    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    QFile work(folder + QStringLiteral("tmp.jpg"));
    EXPECT_TRUE(work.open(QIODevice::WriteOnly));
}
