#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>

#include "core/scan/folderlisting.h"
#include "platform/hiddenlist.h"
#include "tests/support/scanfolder.h"

namespace
{

// The hidden test the main window builds for a folder.
HiddenTest hiddenTestFor(const QString &folder)
{
    auto list = std::make_shared<HiddenList>();
    list->load(folder);
    return [list](const QString &name) { return isDotName(name) || list->contains(name); };
}

TEST(FolderListing, EmptyFolderHasNoNames)
{
    ScanFolder folder;
    const FolderListing listing = listJpegFiles(folder.path(), VisibleMode::All, {});
    EXPECT_TRUE(listing.ok);
    EXPECT_EQ(listing.total, 0);
    EXPECT_TRUE(listing.names.isEmpty());
    EXPECT_FALSE(listing.folderPath.endsWith(QLatin1Char('/')));
    EXPECT_EQ(listing.folderPath + QLatin1Char('/'), folder.path());
}

TEST(FolderListing, MatchesJpgWithoutRegardToCaseInNameOrder)
{
    ScanFolder folder;
    for (const char *name : {"c.Jpg", "B.jpg", "a.JPG", "notes.txt", "d.jpeg", "e.jpg.bak"})
        folder.write(QString::fromUtf8(name), "x");
    QDir(folder.path()).mkdir(QStringLiteral("folder.jpg"));

    const FolderListing listing = listJpegFiles(folder.path(), VisibleMode::All, {});
    EXPECT_EQ(listing.names, QStringList({"a.JPG", "B.jpg", "c.Jpg"}));
    EXPECT_EQ(listing.total, 3);
}

TEST(FolderListing, NamesEqualButForCaseKeepAFixedOrder)
{
    ScanFolder folder;
    for (const char *name : {"b.jpg", "A.jpg", "a.jpg", "B.JPG"})
        folder.write(QString::fromUtf8(name), "x");
    const FolderListing listing = listJpegFiles(folder.path(), VisibleMode::All, {});
    EXPECT_EQ(listing.names, QStringList({"A.jpg", "a.jpg", "B.JPG", "b.jpg"}));
}

TEST(FolderListing, MissingFolderIsErrorFiftyThree)
{
    ScanFolder folder;
    const FolderListing listing =
        listJpegFiles(folder.file(QStringLiteral("gone")), VisibleMode::All, {});
    EXPECT_FALSE(listing.ok);
    EXPECT_EQ(listing.error.number, 53);
    EXPECT_TRUE(listing.names.isEmpty());
}

class VisibleModeFilter : public ::testing::Test
{
  protected:
    // Ten pictures of which three are private: two through ".hidden", one dot-name.
    void SetUp() override
    {
        for (int i = 0; i < 9; ++i)
            folder.write(QStringLiteral("p%1.jpg").arg(i), "x");
        folder.write(QStringLiteral(".secret.jpg"), "x");
        folder.write(QStringLiteral(".hidden"), "p2.jpg\np7.jpg\nother.txt\n");
    }

    QStringList names(int mode)
    {
        const FolderListing listing = listJpegFiles(folder.path(), visibleModeFromSetting(mode),
                                                    hiddenTestFor(folder.path()));
        EXPECT_EQ(listing.total, 10);
        return listing.names;
    }

    ScanFolder folder;
};

TEST_F(VisibleModeFilter, ModeZeroListsEverything)
{
    EXPECT_EQ(names(0).size(), 10);
    EXPECT_EQ(names(0).first(), QStringLiteral(".secret.jpg"));
}

TEST_F(VisibleModeFilter, ModeOneListsPublicPicturesOnly)
{
    EXPECT_EQ(names(1),
              QStringList({"p0.jpg", "p1.jpg", "p3.jpg", "p4.jpg", "p5.jpg", "p6.jpg", "p8.jpg"}));
}

TEST_F(VisibleModeFilter, ModeTwoListsPrivatePicturesOnly)
{
    EXPECT_EQ(names(2), QStringList({".secret.jpg", "p2.jpg", "p7.jpg"}));
}

TEST_F(VisibleModeFilter, UnknownModeListsEverything)
{
    EXPECT_EQ(names(7).size(), 10);
    EXPECT_EQ(names(-1).size(), 10);
}

} // namespace

// Names that are not valid UTF-8 cannot be listed (no path made of them reaches the file):
// the pictures among them are counted, so that the user is told.
TEST(FolderListing, CountsPicturesWhoseNamesAreNotUtf8)
{
    ScanFolder folder;
    folder.write(QStringLiteral("ok.jpg"), "x");
    const QByteArray base = QFile::encodeName(folder.path());
    for (const char *name : {"\xff.jpg", "caf\xe9.JPG", "\xfd.txt"})
        ::close(::open(base + name, O_WRONLY | O_CREAT, 0644));
    ::mkdir(base + "\xfc.jpg", 0755);

    const FolderListing listing = listJpegFiles(folder.path(), VisibleMode::All, {});
    EXPECT_EQ(listing.names, QStringList{QStringLiteral("ok.jpg")});
    EXPECT_EQ(listing.undecodable, 2);
}
