#include "ui/viewer/viewergeometry.h"

#include <gtest/gtest.h>

#include "tests/support/qtprinters.h"

TEST(ViewerTitle, PathThenSizeWithThreeBlanks)
{
    EXPECT_EQ(viewerTitle(QStringLiteral("/photos/a.jpg"), QSize(1600, 1200)),
              QStringLiteral("/photos/a.jpg   (1600 × 1200 )"));
    EXPECT_EQ(viewerTitle(QStringLiteral("/x.jpg"), QSize(0, 0)),
              QStringLiteral("/x.jpg   (0 × 0 )"));
}

TEST(ViewerOpeningSize, SmallPictureOpensAtItsSizePlusFrameInBothModes)
{
    const QSize picture(320, 240), frame(10, 50), workArea(1024, 768);
    EXPECT_EQ(viewerOpeningSize(picture, frame, workArea, true), QSize(330, 290));
    EXPECT_EQ(viewerOpeningSize(picture, frame, workArea, false), QSize(330, 290));
}

TEST(ViewerOpeningSize, LargePictureFitsTheWorkAreaWithItsAspect)
{
    // f = min((1024 - 10) / 4000, (768 - 50) / 3000) = 718 / 3000; 4000 f = 957.33.
    EXPECT_EQ(viewerOpeningSize(QSize(4000, 3000), QSize(10, 50), QSize(1024, 768), true),
              QSize(967, 768));
    // A tall picture is limited by the height: f = 800 / 4000 = 0.2.
    EXPECT_EQ(viewerOpeningSize(QSize(3000, 4000), QSize(10, 50), QSize(1024, 850), true),
              QSize(610, 850));
    // Only one side too large still shrinks both.
    EXPECT_EQ(viewerOpeningSize(QSize(2000, 100), QSize(0, 0), QSize(1000, 800), true),
              QSize(1000, 50));
}

TEST(ViewerOpeningSize, NaturalSizeFillsTheWorkAreaSideBySide)
{
    EXPECT_EQ(viewerOpeningSize(QSize(4000, 3000), QSize(10, 50), QSize(1024, 768), false),
              QSize(1024, 768));
    EXPECT_EQ(viewerOpeningSize(QSize(4000, 300), QSize(10, 50), QSize(1024, 768), false),
              QSize(1024, 350));
}

TEST(ViewerOpeningSize, FrameLargerThanTheWorkAreaNeverGivesANegativeSize)
{
    const QSize size =
        viewerOpeningSize(QSize(4000, 3000), QSize(100, 900), QSize(1024, 768), true);
    EXPECT_GE(size.width(), 0);
    EXPECT_GE(size.height(), 0);
}

TEST(FittedPictureSize, KeepsTheAspectAndGrowsBeyondNaturalSize)
{
    EXPECT_EQ(fittedPictureSize(QSize(4000, 3000), QSize(800, 800)), QSize(800, 600));
    EXPECT_EQ(fittedPictureSize(QSize(100, 50), QSize(400, 400)), QSize(400, 200));
    EXPECT_EQ(fittedPictureSize(QSize(0, 0), QSize(400, 400)), QSize(0, 0));
}

TEST(VisibleLength, WindowOrPictureWhicheverIsShorter)
{
    EXPECT_EQ(visibleLength(4000, 1000), 1000);
    EXPECT_EQ(visibleLength(1000, 1000), 1000);
    EXPECT_EQ(visibleLength(300, 1000), 300);
}

TEST(DraggedOffset, MovesTwiceThePointerTravelAgainstIt)
{
    // Ten units to the left move the view twenty pixels to the right.
    EXPECT_EQ(draggedOffset(0, 100, 90, 4000, 1000), 20);
    EXPECT_EQ(draggedOffset(50, 100, 110, 4000, 1000), 30);
    // Fractions round to the nearest pixel.
    EXPECT_EQ(draggedOffset(0, 10.0, 9.25, 4000, 1000), 2);
}

TEST(DraggedOffset, StopsAtThePictureEdges)
{
    EXPECT_EQ(draggedOffset(2990, 100, 0, 4000, 1000), 3000);
    EXPECT_EQ(draggedOffset(10, 0, 100, 4000, 1000), 0);
    // A picture narrower than the window does not scroll.
    EXPECT_EQ(draggedOffset(0, 100, 0, 300, 300), 0);
}
