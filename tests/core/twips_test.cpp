#include <gtest/gtest.h>

#include "core/twips.h"
#include "tests/support/qtprinters.h"

TEST(Twips, ConvertWithTheLogicalDpi)
{
    EXPECT_EQ(twipsToPixels(1500, 96), 100);
    EXPECT_EQ(twipsToPixels(5600, 96), 373); // 373.33
    EXPECT_EQ(twipsToPixels(1500, 120), 125);
    EXPECT_EQ(twipsToPixels(-150, 96), -10);
    EXPECT_FLOAT_EQ(pixelsToTwips(100, 96), 1500.0f);
    EXPECT_FLOAT_EQ(pixelsToTwips(125, 120), 1500.0f);
}

TEST(Twips, UnusableInputsGiveUsableResults)
{
    EXPECT_EQ(twipsToPixels(1500, 0), 100);
    EXPECT_FLOAT_EQ(pixelsToTwips(100, -5), 1500.0f);
    EXPECT_EQ(twipsToPixels(3.0e38, 96), 2147483647);
    EXPECT_EQ(twipsToPixels(-3.0e38, 96), -2147483647 - 1);
}
