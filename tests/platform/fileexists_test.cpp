#include "platform/fileexists.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Only a regular file that opens counts; a FIFO with no writer answers at once, not never.
TEST(FileExists, OnlyARegularFileThatOpensExists)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.jpg"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();
    const QString fifo = folder.filePath(QStringLiteral("fifo.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("none")),
                            folder.filePath(QStringLiteral("broken.jpg"))));

    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(fifo));
    EXPECT_FALSE(FileExists(folder.path()));
    EXPECT_FALSE(FileExists(folder.filePath(QStringLiteral("broken.jpg"))));
    EXPECT_FALSE(FileExists(folder.filePath(QStringLiteral("missing.jpg"))));
    EXPECT_FALSE(FileExists(QString()));
}
