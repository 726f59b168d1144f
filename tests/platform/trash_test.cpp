#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/fileattributes.h"
#include "platform/trash.h"
#include "tests/support/qtprinters.h"

TEST(Trash, MovesTheFileAwayAndForgetsItsHiddenMark)
{
    // Under HOME (set by the test main), so the user's own trash is used.
    QTemporaryDir dir(QDir::homePath() + QStringLiteral("/pictures-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("削除 a.jpg"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("picture");
    }
    const QString other = dir.filePath(QStringLiteral("b.jpg"));
    QFile::copy(file, other);
    ASSERT_TRUE(setAttributes(file, FileAttribute::Hidden).ok());
    ASSERT_TRUE(setAttributes(other, FileAttribute::Hidden).ok());

    const FileError error = moveToTrash(file);
    if (!error.ok())
        GTEST_SKIP() << "no trash can be made here: " << error.description.toStdString();

    EXPECT_FALSE(QFile::exists(file));
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash");
    EXPECT_TRUE(QFile::exists(trash + QStringLiteral("/files/削除 a.jpg")));
    EXPECT_TRUE(QFile::exists(trash + QStringLiteral("/info/削除 a.jpg.trashinfo")));
    QFile list(dir.filePath(QStringLiteral(".hidden")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QByteArray("b.jpg\n"));
}

TEST(Trash, MissingFileIsError53)
{
    QTemporaryDir dir;
    EXPECT_EQ(moveToTrash(dir.filePath(QStringLiteral("none.jpg"))).number, 53);
}

TEST(Trash, FileStaysPutWhenNoTrashCanBeMade)
{
    QTemporaryDir dir(QDir::homePath() + QStringLiteral("/pictures-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a.jpg"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("picture");
    }
    // A data folder below a plain file can never be created.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile(blocker).open(QIODevice::WriteOnly);
    qputenv("XDG_DATA_HOME", (blocker + QStringLiteral("/data")).toUtf8());
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());

    const FileError error = moveToTrash(file);

    QDir::setCurrent(cwd);
    qputenv("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(error.number, 75);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("files/a.jpg"))));
}
