#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "platform/fileattributes.h"
#include "platform/hiddenlist.h"
#include "tests/support/qtprinters.h"

namespace
{
class Attributes : public ::testing::Test
{
  protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString hiddenPath() const { return path(QStringLiteral(".hidden")); }

    QString makeFile(const QString &name, mode_t mode = 0644) const
    {
        const QString file = path(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("picture");
        out.close();
        ::chmod(QFile::encodeName(file).constData(), mode);
        return file;
    }

    QByteArray hiddenText() const
    {
        QFile file(hiddenPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    void writeHidden(const QByteArray &text) const
    {
        QFile file(hiddenPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    static mode_t modeOf(const QString &file)
    {
        struct stat info;
        ::stat(QFile::encodeName(file).constData(), &info);
        return info.st_mode & 07777;
    }

    static int attributesOf(const QString &file)
    {
        int attrs = -1;
        EXPECT_TRUE(getAttributes(file, attrs).ok());
        return attrs;
    }

    QTemporaryDir m_dir;
};
} // namespace

TEST_F(Attributes, PlainFileHasNone)
{
    EXPECT_EQ(attributesOf(makeFile(QStringLiteral("a.jpg"))), 0);
    EXPECT_EQ(attributesOf(m_dir.path()), FileAttribute::Directory);
}

TEST_F(Attributes, ReadOnlyRemovesEveryWriteBitAndGivesOwnerWriteBack)
{
    const QString file = makeFile(QStringLiteral("a.jpg"), 0775);
    ASSERT_TRUE(setAttributes(file, FileAttribute::ReadOnly).ok());
    EXPECT_EQ(modeOf(file), 0555u);
    EXPECT_EQ(attributesOf(file), FileAttribute::ReadOnly);

    ASSERT_TRUE(setAttributes(file, 0).ok());
    EXPECT_EQ(modeOf(file), 0755u);
    EXPECT_EQ(attributesOf(file), 0);

    // A writable file stays as it is, group write and all.
    ASSERT_TRUE(setAttributes(file, 32).ok()); // an archive bit means nothing here
    EXPECT_EQ(modeOf(file), 0755u);
}

TEST_F(Attributes, HidingListsTheNameAndShowingRemovesTheEmptyList)
{
    const QString file = makeFile(QStringLiteral("写真 1.jpg"));
    ASSERT_TRUE(setAttributes(file, FileAttribute::Hidden).ok());
    EXPECT_EQ(hiddenText(), QByteArray("写真 1.jpg\n"));
    EXPECT_EQ(attributesOf(file), FileAttribute::Hidden);
    ASSERT_TRUE(setAttributes(file, FileAttribute::Hidden).ok());
    EXPECT_EQ(hiddenText(), QByteArray("写真 1.jpg\n"));

    ASSERT_TRUE(setAttributes(file, 0).ok());
    EXPECT_FALSE(QFile::exists(hiddenPath()));
    EXPECT_EQ(attributesOf(file), 0);
}

TEST_F(Attributes, ReadOnlySurvivesHideAndShow)
{
    const QString file = makeFile(QStringLiteral("a.jpg"));
    ASSERT_TRUE(setAttributes(file, FileAttribute::ReadOnly).ok());
    ASSERT_TRUE(setAttributes(file, FileAttribute::ReadOnly | FileAttribute::Hidden).ok());
    EXPECT_EQ(attributesOf(file), FileAttribute::ReadOnly | FileAttribute::Hidden);
    ASSERT_TRUE(setAttributes(file, FileAttribute::ReadOnly).ok());
    EXPECT_EQ(attributesOf(file), FileAttribute::ReadOnly);
    EXPECT_EQ(modeOf(file), 0444u);
}

TEST_F(Attributes, OtherEntriesOfTheListStayByteForByte)
{
    const QString file = makeFile(QStringLiteral("b.jpg"));
    writeHidden("x.jpg\r\nb.jpg\n\xe3\x81\x82.jpg\nlast-without-break");
    EXPECT_EQ(attributesOf(file), FileAttribute::Hidden);
    ASSERT_TRUE(setAttributes(file, 0).ok());
    EXPECT_EQ(hiddenText(), QByteArray("x.jpg\r\n\xe3\x81\x82.jpg\nlast-without-break\n"));

    const QString crlf = makeFile(QStringLiteral("x.jpg"));
    EXPECT_EQ(attributesOf(crlf), FileAttribute::Hidden);
}

TEST_F(Attributes, ListIsReplacedByRenameNeverRewrittenInPlace)
{
    writeHidden("old.jpg\n");
    // A second name for the old list: an edit in place would change it too.
    const QString oldLink = path(QStringLiteral("old-list"));
    ASSERT_EQ(
        ::link(QFile::encodeName(hiddenPath()).constData(), QFile::encodeName(oldLink).constData()),
        0);
    const QString file = makeFile(QStringLiteral("new.jpg"));
    ASSERT_TRUE(setAttributes(file, FileAttribute::Hidden).ok());

    EXPECT_EQ(hiddenText(), QByteArray("old.jpg\nnew.jpg\n"));
    QFile old(oldLink);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old.jpg\n"));
    // No work file is left beside the list.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(Attributes, DotNamesAreAlwaysHiddenAndCannotBeMadePublic)
{
    const QString file = makeFile(QStringLiteral(".secret.jpg"));
    EXPECT_EQ(attributesOf(file), FileAttribute::Hidden);
    EXPECT_EQ(setAttributes(file, 0).number, 75);
    EXPECT_EQ(setAttributes(file, FileAttribute::ReadOnly).number, 75);
    EXPECT_EQ(modeOf(file), 0644u);
    EXPECT_TRUE(setAttributes(file, FileAttribute::Hidden | FileAttribute::ReadOnly).ok());
    EXPECT_EQ(modeOf(file), 0444u);
    EXPECT_FALSE(QFile::exists(hiddenPath()));
}

TEST_F(Attributes, MissingFileIsError53AndChangesNothing)
{
    int attrs = 7;
    EXPECT_EQ(getAttributes(path(QStringLiteral("none.jpg")), attrs).number, 53);
    EXPECT_EQ(attrs, 0);
    EXPECT_EQ(setAttributes(path(QStringLiteral("none.jpg")), FileAttribute::Hidden).number, 53);
    EXPECT_EQ(setAttributes(path(QStringLiteral("no/dir.jpg")), 0).number, 53);
    EXPECT_FALSE(QFile::exists(hiddenPath()));
}

TEST_F(Attributes, UnreadableListIsNeverOverwritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    writeHidden("keep.jpg\n");
    QFile::setPermissions(hiddenPath(), QFileDevice::WriteOwner);
    const QString file = makeFile(QStringLiteral("a.jpg"));
    EXPECT_EQ(setAttributes(file, FileAttribute::Hidden).number, 75);
    QFile::setPermissions(hiddenPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(hiddenText(), QByteArray("keep.jpg\n"));
}

TEST_F(Attributes, ReadOnlyFolderRefusesToHide)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const QString file = makeFile(QStringLiteral("a.jpg"));
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const FileError error = setAttributes(file, FileAttribute::Hidden);
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(error.number, 75);
    EXPECT_FALSE(QFile::exists(hiddenPath()));
}

TEST_F(Attributes, CopyCarriesBothBitsAndForgetDropsTheLine)
{
    const QString from = makeFile(QStringLiteral("a.jpg"));
    const QString to = makeFile(QStringLiteral("b.jpg"));
    ASSERT_TRUE(setAttributes(from, FileAttribute::ReadOnly | FileAttribute::Hidden).ok());
    ASSERT_TRUE(copyAttributes(from, to).ok());
    EXPECT_EQ(attributesOf(to), FileAttribute::ReadOnly | FileAttribute::Hidden);

    // A rename: read the word first, then carry it and forget the old name.
    const QString renamed = path(QStringLiteral("c.jpg"));
    const int attrs = attributesOf(from);
    ASSERT_TRUE(QFile::rename(from, renamed));
    ASSERT_TRUE(setAttributes(renamed, attrs).ok());
    ASSERT_TRUE(forgetHiddenEntry(from).ok());
    EXPECT_EQ(hiddenText(), QByteArray("b.jpg\nc.jpg\n"));
    EXPECT_EQ(copyAttributes(from, to).number, 53);

    const QString dotted = makeFile(QStringLiteral(".d.jpg"));
    ASSERT_TRUE(copyAttributes(makeFile(QStringLiteral("e.jpg")), dotted).ok());
    EXPECT_TRUE(forgetHiddenEntry(path(QStringLiteral("unlisted.jpg"))).ok());
}

// A name with a line break, LF or CR, cannot be a line of the list: stored raw, "x.jpg\r"
// would make the other picture x.jpg private.
TEST_F(Attributes, NamesWithALineBreakAreRefused)
{
    const QString plain = makeFile(QStringLiteral("x.jpg"));
    for (const char *name : {"x.jpg\r", "x.jpg\n"}) {
        const QString file = makeFile(QString::fromLatin1(name));
        EXPECT_EQ(setAttributes(file, FileAttribute::Hidden).number, 52);
        EXPECT_EQ(setHiddenMarks({file}, true).value(0).number, 52);
    }
    EXPECT_EQ(attributesOf(plain), 0);
    EXPECT_EQ(hiddenText(), QByteArray("<none>"));
}

TEST(HiddenList, NamesCompareExactly)
{
    HiddenList list;
    list.add(QStringLiteral("a.jpg"));
    EXPECT_EQ(list.save().number, 5); // never a list in some unloaded folder
    ASSERT_TRUE(list.load(QStringLiteral("/nonexistent-folder-for-test")).ok());
    EXPECT_TRUE(list.add(QStringLiteral("A.jpg")));
    EXPECT_FALSE(list.add(QStringLiteral("A.jpg")));
    EXPECT_FALSE(list.contains(QStringLiteral("a.jpg")));
    EXPECT_FALSE(list.contains(QStringLiteral("A.jpg ")));
    EXPECT_TRUE(list.remove(QStringLiteral("A.jpg")));
    EXPECT_FALSE(list.remove(QStringLiteral("A.jpg")));
    EXPECT_TRUE(isDotName(QStringLiteral(".x")));
    EXPECT_FALSE(isDotName(QStringLiteral("x.")));
}

TEST_F(Attributes, EditsWaitForAnotherProcessHoldingTheList)
{
    const QString file = makeFile(QStringLiteral("a.jpg"));
    QLockFile other(hiddenPath() + QStringLiteral(".lock"));
    ASSERT_TRUE(other.tryLock(0));
    // A lock held by a live process is never broken: the edit gives up.
    EXPECT_EQ(setAttributes(file, FileAttribute::Hidden).number, 75);
    EXPECT_FALSE(QFile::exists(hiddenPath()));
    // An edit that changes nothing needs no lock.
    EXPECT_TRUE(setAttributes(file, 0).ok());
    other.unlock();
    EXPECT_TRUE(setAttributes(file, FileAttribute::Hidden).ok());
    EXPECT_FALSE(QFile::exists(hiddenPath() + QStringLiteral(".lock")));
}

TEST_F(Attributes, ManyMarksAreSetWithOneEditAndReportedPerFile)
{
    const QStringList paths{makeFile(QStringLiteral("a.jpg")), path(QStringLiteral("gone.jpg")),
                            makeFile(QStringLiteral(".b.jpg")), makeFile(QStringLiteral("c.jpg"))};
    ASSERT_TRUE(setAttributes(paths[0], FileAttribute::ReadOnly).ok());

    const QList<FileError> hidden = setHiddenMarks(paths, true);
    ASSERT_EQ(hidden.size(), 4);
    EXPECT_TRUE(hidden[0].ok());
    EXPECT_EQ(hidden[1].number, 53);
    EXPECT_TRUE(hidden[2].ok());
    EXPECT_TRUE(hidden[3].ok());
    EXPECT_EQ(hiddenText(), QByteArray("a.jpg\nc.jpg\n"));
    EXPECT_EQ(attributesOf(paths[0]), FileAttribute::ReadOnly | FileAttribute::Hidden);

    const QList<FileError> shown = setHiddenMarks(paths, false);
    EXPECT_TRUE(shown[0].ok());
    EXPECT_EQ(shown[2].number, 75);
    EXPECT_FALSE(QFile::exists(hiddenPath()));
    EXPECT_EQ(attributesOf(paths[0]), FileAttribute::ReadOnly);
}
