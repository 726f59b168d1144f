#include "exif/workfile.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace
{

void writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct TakenName {
    const char *what;
    void (*make)(const QString &path);
};

// Whatever holds the name stays, and so does the file that was to be renamed.
TEST(RenameNoReplace, ATakenNameIsNeverReplaced)
{
    const TakenName cases[] = {
        {"a file", [](const QString &path) { writeText(path, "older"); }},
        {"a folder", [](const QString &path) { QDir().mkdir(path); }},
        {"a broken link", [](const QString &path) { QFile::link("/nonexistent/x", path); }},
    };
    for (const TakenName &taken : cases) {
        SCOPED_TRACE(taken.what);
        QTemporaryDir dir;
        const QString from = dir.filePath("a.jpg"), to = dir.filePath("b.jpg");
        writeText(from, "picture");
        taken.make(to);
        const StepError error = renameNoReplace(from, to);
        EXPECT_TRUE(error.failed);
        EXPECT_EQ(error.systemError, EEXIST);
        EXPECT_EQ(readText(from), "picture");
        EXPECT_TRUE(QFileInfo(to).isSymLink() || QFileInfo(to).isDir() || readText(to) == "older");
    }
}

TEST(RenameNoReplace, MovesToAFreeNameAndReportsAMissingSource)
{
    QTemporaryDir dir;
    const QString from = dir.filePath("a.jpg"), to = dir.filePath("b.jpg");
    writeText(from, "picture");
    EXPECT_FALSE(renameNoReplace(from, to).failed);
    EXPECT_FALSE(QFileInfo::exists(from));
    EXPECT_EQ(readText(to), "picture");

    const StepError missing = renameNoReplace(from, dir.filePath("c.jpg"));
    EXPECT_EQ(missing.systemError, ENOENT);
}

} // namespace
