#include "core/formlayout.h"

#include <gtest/gtest.h>

namespace
{

// Shares of the panel width are not exact in binary, so rectangles compare to a nano-twip.
void expectRect(const TwipRect &actual, const TwipRect &expected)
{
    EXPECT_NEAR(actual.left, expected.left, 1e-9);
    EXPECT_NEAR(actual.top, expected.top, 1e-9);
    EXPECT_NEAR(actual.width, expected.width, 1e-9);
    EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

TEST(FormLayoutTest, SmallWindowSnapsToTheMinimum)
{
    EXPECT_EQ(snapToMinimumWindowSize({8000, 3000}), (TwipSize{9300, 4000}));
    EXPECT_EQ(snapToMinimumWindowSize({12000, 3000}), (TwipSize{12000, 4000}));
    EXPECT_EQ(snapToMinimumWindowSize({9300, 4000}), (TwipSize{9300, 4000}));
}

TEST(FormLayoutTest, PanelLinesFollowTheFontSize)
{
    // Font 12: lines 425 apart and 300 high; the eighteenth starts at 17 * 425.
    const PanelLayout twelve = panelLayout(3000, 12);
    EXPECT_EQ(twelve.lines[0], (TwipRect{190, 0, 2620, 300}));
    EXPECT_EQ(twelve.lines[1].top, 425);
    EXPECT_EQ(twelve.lines[17], (TwipRect{190, 7225, 2620, 300}));

    // Font 10: pitch 375, height 250.
    const PanelLayout ten = panelLayout(3000, 10);
    EXPECT_EQ(ten.lines[2], (TwipRect{190, 750, 2620, 250}));
}

TEST(FormLayoutTest, ZoomSliderSharesLineEight)
{
    const PanelLayout layout = panelLayout(4000, 10);
    // Slider at line 8's place, 55 % of the panel wide, 70 % of the line high.
    expectRect(layout.slider, {190, 2625, 2200, 175});
    // The zoom text to the right of it, same top and height.
    expectRect(layout.lines[7], {2600, 2625, 1280, 250});
    EXPECT_GT(layout.lines[7].left, layout.slider.right());
    // The other lines keep the full width.
    EXPECT_EQ(layout.lines[6].width, 3620);
    EXPECT_EQ(layout.lines[8].left, 190);
}

TEST(FormLayoutTest, ListTakesTheRestBesidePanelAndSplitter)
{
    const FormLayout layout = formLayout({12000, 6000}, 3000, 10);
    EXPECT_EQ(layout.list, (TwipRect{20, 0, 8950, 6000}));
    EXPECT_EQ(layout.dataBox, (TwipRect{9000, 0, 3000, 6000}));
    EXPECT_EQ(layout.dataBox.right(), 12000);
    // The splitter lies centred on the list's right edge and ends at the panel.
    EXPECT_EQ(layout.splitter, (TwipRect{8940, 0, 60, 6000}));
    EXPECT_EQ(layout.splitter.right(), layout.dataBox.left);
    EXPECT_EQ(layout.panel.lines[0].width, 2620);
}

TEST(FormLayoutTest, WidePanelLeavesTheListItsMinimum)
{
    // A panel stored wider than the window: the list keeps 1000, the panel shows the rest.
    const FormLayout layout = formLayout({9300, 4000}, 20000, 10);
    EXPECT_EQ(layout.list.width, FormLayoutMetrics::kMinimumListWidth);
    EXPECT_EQ(layout.dataBox, (TwipRect{1050, 0, 8250, 4000}));
    EXPECT_EQ(layout.panel.lines[0].width, 8250 - 380);

    // A panel narrower than its insets gives empty lines, never negative widths.
    const FormLayout narrow = formLayout({9300, 4000}, 100, 10);
    EXPECT_EQ(narrow.panel.lines[0].width, 0);
    EXPECT_GE(narrow.panel.slider.width, 0);
}

TEST(FormLayoutTest, SplitterBarStopsAtTheLimits)
{
    const double area = 12000;
    SplitterDrag drag;
    EXPECT_FALSE(drag.active());
    EXPECT_FALSE(drag.move(100, area)); // no drag without a press

    drag.press(8940, 30);
    EXPECT_TRUE(drag.active());
    EXPECT_EQ(drag.barLeft(), 8940);
    ASSERT_TRUE(drag.move(-4940, area)); // 4970 to the left
    EXPECT_EQ(drag.barLeft(), 3970);
    ASSERT_TRUE(drag.move(-7900, area));
    EXPECT_EQ(drag.barLeft(), 1010);

    // Towards 500 from the left edge: the bar stays at its last place above 1000, and the
    // origin too, so a move back right starts from there.
    EXPECT_FALSE(drag.move(-8410, area));
    EXPECT_FALSE(drag.move(-7910, area)); // exactly 1000 is outside
    EXPECT_EQ(drag.barLeft(), 1010);
    ASSERT_TRUE(drag.move(-7800, area));
    EXPECT_EQ(drag.barLeft(), 1110);

    // The right limit: below W - 1000 only.
    EXPECT_FALSE(drag.move(-7800 + 9890, area)); // 11000
    ASSERT_TRUE(drag.move(-7800 + 9889, area));  // 10999
    EXPECT_EQ(drag.barLeft(), 10999);
}

TEST(FormLayoutTest, ReleaseWithoutMovingKeepsTheLayout)
{
    const FormLayout before = formLayout({12000, 6000}, 3000, 10);
    SplitterDrag drag;
    drag.press(before.splitter.left, 25);
    const double panelWidth = drag.release(12000);
    EXPECT_FALSE(drag.active());
    EXPECT_EQ(panelWidth, 3000);
    EXPECT_EQ(formLayout({12000, 6000}, panelWidth, 10), before);
}

TEST(FormLayoutTest, ReleaseAfterDragMovesTheListEdgeUnderTheBar)
{
    SplitterDrag drag;
    drag.press(8940, 0);
    ASSERT_TRUE(drag.move(-2000, 12000));
    const double panelWidth = drag.release(12000);
    EXPECT_EQ(panelWidth, 5000);
    const FormLayout after = formLayout({12000, 6000}, panelWidth, 10);
    EXPECT_EQ(after.splitter.left, 6940);
    EXPECT_EQ(after.list.right(), 6970);
}

} // namespace
