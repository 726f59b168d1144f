#include <gtest/gtest.h>

#include <QImage>

#include "exif/paintfit.h"

namespace
{

const QColor kBackground(10, 20, 30);
const QColor kPicture(200, 100, 50);

QImage solid(int width, int height, const QColor &color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TEST(PaintFitRect, LandscapeIntoSquareBox)
{
    EXPECT_EQ(PaintFitRect(QSize(640, 480), QSize(160, 160)), QRect(0, 20, 160, 120));
}

TEST(PaintFitRect, PortraitIntoSquareBox)
{
    EXPECT_EQ(PaintFitRect(QSize(480, 640), QSize(160, 160)), QRect(20, 0, 120, 160));
}

TEST(PaintFitRect, SmallSourceIsEnlarged)
{
    EXPECT_EQ(PaintFitRect(QSize(40, 30), QSize(200, 150)), QRect(0, 0, 200, 150));
    EXPECT_EQ(PaintFitRect(QSize(30, 40), QSize(160, 120)), QRect(35, 0, 90, 120));
}

TEST(PaintFitRect, EmptySizesHaveNoRect)
{
    EXPECT_TRUE(PaintFitRect(QSize(0, 480), QSize(160, 120)).isNull());
    EXPECT_TRUE(PaintFitRect(QSize(640, 480), QSize(160, 0)).isNull());
}

TEST(PaintFit, BandsAreTheBackgroundAndThePictureFillsItsRect)
{
    QImage dest = solid(160, 160, Qt::white);
    ASSERT_EQ(PaintFit(dest, solid(640, 480, kPicture), kBackground), 0);
    EXPECT_EQ(dest.size(), QSize(160, 160));
    EXPECT_EQ(dest.pixelColor(80, 0), kBackground);
    EXPECT_EQ(dest.pixelColor(80, 19), kBackground);
    EXPECT_EQ(dest.pixelColor(80, 140), kBackground);
    EXPECT_EQ(dest.pixelColor(0, 159), kBackground);
    EXPECT_EQ(dest.pixelColor(0, 20), kPicture);
    EXPECT_EQ(dest.pixelColor(159, 139), kPicture);
    EXPECT_EQ(dest.pixelColor(80, 80), kPicture);
}

TEST(PaintFit, PortraitGetsSideBands)
{
    QImage dest = solid(160, 160, Qt::white);
    ASSERT_EQ(PaintFit(dest, solid(480, 640, kPicture), kBackground), 0);
    EXPECT_EQ(dest.pixelColor(19, 80), kBackground);
    EXPECT_EQ(dest.pixelColor(20, 80), kPicture);
    EXPECT_EQ(dest.pixelColor(139, 80), kPicture);
    EXPECT_EQ(dest.pixelColor(140, 80), kBackground);
}

TEST(PaintFit, FullSizeGeometryForAReducedDecode)
{
    // A 1/8 decode of a 1601 x 1200 picture is 201 x 150; it must land where the full
    // picture would.
    QImage dest = solid(160, 120, Qt::white);
    ASSERT_EQ(PaintFit(dest, solid(201, 150, kPicture), kBackground, QSize(1601, 1200)), 0);
    const QRect full = PaintFitRect(QSize(1601, 1200), QSize(160, 120));
    EXPECT_EQ(dest.pixelColor(full.topLeft()), kPicture);
    EXPECT_EQ(dest.pixelColor(full.bottomRight()), kPicture);
}

TEST(PaintFit, FailureLeavesTheDestinationAsItWas)
{
    QImage empty;
    EXPECT_EQ(PaintFit(empty, solid(64, 48, kPicture), kBackground), -1);
    EXPECT_TRUE(empty.isNull());

    QImage dest = solid(160, 120, Qt::white);
    EXPECT_EQ(PaintFit(dest, QImage(), kBackground), -1);
    EXPECT_EQ(dest.pixelColor(80, 60), QColor(Qt::white));
    EXPECT_EQ(PaintFit(dest, solid(64, 48, kPicture), kBackground, QSize(0, 48)), -1);
    EXPECT_EQ(dest.pixelColor(0, 0), QColor(Qt::white));
}

} // namespace
