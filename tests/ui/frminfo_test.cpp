#include "ui/frminfo.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

// At 96 DPI one pixel is 15 twips: the 2000-twip minimum is 133 pixels.
TEST(FrmInfo, CaptionAndControls)
{
    FrmInfo log;
    EXPECT_EQ(log.windowTitle(), QStringLiteral("ワーニング"));
    EXPECT_EQ(log.lines()->objectName(), QStringLiteral("LST_info"));
    EXPECT_EQ(log.hideButton()->objectName(), QStringLiteral("CMD_Hide"));
    EXPECT_EQ(log.hideButton()->text(), QStringLiteral("表示しない"));
    EXPECT_FALSE(log.isVisible());
}

TEST(FrmInfo, NeverSmallerThanTwoThousandTwips)
{
    FrmInfo log;
    log.show();
    ASSERT_EQ(log.logicalDpiX(), 96);
    log.resize(40, 30);
    EXPECT_EQ(log.size(), QSize(133, 133));
    log.resize(500, 90);
    EXPECT_EQ(log.size(), QSize(500, 133));
}

TEST(FrmInfo, ListFillsTheWindowAboveTheButton)
{
    FrmInfo log;
    log.show();
    log.resize(600, 300);
    const QSize button = log.hideButton()->size();
    // 10 twips round to one pixel, 5 twips to none.
    EXPECT_EQ(log.lines()->geometry(), QRect(0, 0, 600, 300 - button.height() - 1));
    EXPECT_EQ(log.hideButton()->geometry().bottomRight(), QPoint(599, 299));
    EXPECT_LE(log.lines()->geometry().bottom(), log.hideButton()->geometry().top());
}

TEST(FrmInfo, ClosingHidesAndKeepsTheLines)
{
    FrmInfo log;
    log.appendLine(QStringLiteral(" 53 : x : y でｴﾗｰ発生。z"));
    log.show();
    EXPECT_TRUE(log.close());
    EXPECT_FALSE(log.isVisible());
    log.show();
    ASSERT_EQ(log.lines()->count(), 1);
    EXPECT_EQ(log.lines()->item(0)->text(), QStringLiteral(" 53 : x : y でｴﾗｰ発生。z"));
}
