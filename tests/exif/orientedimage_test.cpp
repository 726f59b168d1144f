#include <gtest/gtest.h>

#include <QImage>

#include "exif/orientedimage.h"
#include "tests/support/writefixtures.h"

namespace
{

struct OrientationCase {
    quint32 tagValue;
    int orientation; // as knownOrientation reads the tag
    QSize shown;     // of a 6 x 4 picture
    const char *corners;
};

// Each corner of the stored picture has a colour of its own, so every turn and mirror shows
// in where the four corners land; values outside 1-8 show the picture as stored.
TEST(OrientedImage, EveryOrientationPutsTheCornersWhereTheTagSays)
{
    const QImage stored = writefixtures::pattern(QSize(6, 4));
    const OrientationCase cases[] = {
        {0, 1, {6, 4}, "abcd"}, {1, 1, {6, 4}, "abcd"},       {2, 2, {6, 4}, "badc"},
        {3, 3, {6, 4}, "dcba"}, {4, 4, {6, 4}, "cdab"},       {5, 5, {4, 6}, "acbd"},
        {6, 6, {4, 6}, "cadb"}, {7, 7, {4, 6}, "dbca"},       {8, 8, {4, 6}, "bdac"},
        {9, 1, {6, 4}, "abcd"}, {0x10006, 1, {6, 4}, "abcd"},
    };
    for (const OrientationCase &c : cases) {
        const int orientation = knownOrientation(c.tagValue);
        EXPECT_EQ(orientation, c.orientation) << c.tagValue;
        EXPECT_EQ(shownSize(stored.size(), orientation), c.shown) << c.tagValue;
        const QImage shown = shownImage(stored, orientation);
        EXPECT_EQ(shown.size(), c.shown) << c.tagValue;
        EXPECT_EQ(shown.format(), stored.format()) << c.tagValue;
        EXPECT_EQ(writefixtures::patternCorners(shown), QString::fromLatin1(c.corners))
            << c.tagValue;
    }
}

} // namespace
