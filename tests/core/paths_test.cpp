#include <gtest/gtest.h>

#include "core/paths.h"
#include "tests/support/qtprinters.h"

TEST(Paths, WithTrailingBackslashAppendsOnlyWhenMissing)
{
    EXPECT_EQ(withTrailingBackslash(QStringLiteral("/photos")), QStringLiteral("/photos/"));
    EXPECT_EQ(withTrailingBackslash(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(withTrailingBackslash(QString()), QStringLiteral("/"));
    EXPECT_EQ(withTrailingBackslash(QStringLiteral("/写真/旅行")), QStringLiteral("/写真/旅行/"));
}

TEST(Paths, ParentFolderEndsInSeparator)
{
    EXPECT_EQ(parentFolderOf(QStringLiteral("/photos/a.jpg")), QStringLiteral("/photos/"));
    EXPECT_EQ(parentFolderOf(QStringLiteral("/a.jpg")), QStringLiteral("/"));
    EXPECT_EQ(parentFolderOf(QStringLiteral("/photos/")), QStringLiteral("/photos/"));
    EXPECT_FALSE(parentFolderOf(QStringLiteral("a.jpg")).has_value());
    EXPECT_FALSE(parentFolderOf(QString()).has_value());
}

TEST(Paths, FileNameIsTextAfterLastSeparator)
{
    EXPECT_EQ(fileNameOf(QStringLiteral("/photos/a.jpg")), QStringLiteral("a.jpg"));
    EXPECT_EQ(fileNameOf(QStringLiteral("a.jpg")), QStringLiteral("a.jpg"));
    EXPECT_EQ(fileNameOf(QStringLiteral("/photos/")), QString());
    EXPECT_EQ(fileNameOf(QStringLiteral("/写真/犬.JPG")), QStringLiteral("犬.JPG"));
}

TEST(Paths, WithoutExtensionCutsAtLastDotOfWholeText)
{
    EXPECT_EQ(withoutExtension(QStringLiteral("/photos/a.b.jpg")), QStringLiteral("/photos/a.b"));
    // A dot only in a folder name still counts: callers pass picture paths.
    EXPECT_EQ(withoutExtension(QStringLiteral("/x.y/file")), QStringLiteral("/x"));
    EXPECT_EQ(withoutExtension(QStringLiteral(".jpg")), QString());
    EXPECT_FALSE(withoutExtension(QStringLiteral("/photos/file")).has_value());
}

TEST(Paths, ChangeExtensionReplacesLastExtension)
{
    EXPECT_EQ(changeExtension(QStringLiteral("/photos/a.jpg"), QStringLiteral(".bak")),
              QStringLiteral("/photos/a.bak"));
    EXPECT_EQ(changeExtension(QStringLiteral("/photos/a.b.jpg"), QStringLiteral(".JPG")),
              QStringLiteral("/photos/a.b.JPG"));
    EXPECT_FALSE(changeExtension(QStringLiteral("/photos/a"), QStringLiteral(".bak")).has_value());
}

TEST(Paths, SelectedOptionIndexSumsChosenIndices)
{
    EXPECT_EQ(selectedOptionIndex({false, false, true}), 2);
    EXPECT_EQ(selectedOptionIndex({true, false, false}), 0);
    EXPECT_EQ(selectedOptionIndex({false, false, false}), 0);
    EXPECT_EQ(selectedOptionIndex({}), 0);
    EXPECT_EQ(selectedOptionIndex({false, true, false, true}), 4);
}
