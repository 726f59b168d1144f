#include "core/wallpaper/wallpaperbitmap.h"

#include <gtest/gtest.h>

namespace
{

const QSize kWorkArea(1920, 1040);

TEST(WallpaperBitmap, SizeAndTilingFollowTheArrangement)
{
    struct Case {
        WallpaperArrangement arrangement;
        QSize picture;
        QSize bitmap;
        bool tiled;
    };
    const QList<Case> cases = {
        {WallpaperArrangement::Stretch, {640, 480}, kWorkArea, false},
        {WallpaperArrangement::Fit, {480, 640}, kWorkArea, false},
        {WallpaperArrangement::Center, {4000, 3000}, {4000, 3000}, false},
        {WallpaperArrangement::Tile, {64, 48}, {64, 48}, true},
    };
    for (const Case &c : cases) {
        QImage picture(c.picture, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QImage bitmap = renderWallpaper(picture, c.arrangement, kWorkArea, Qt::black);
        EXPECT_EQ(bitmap.size(), c.bitmap) << int(c.arrangement);
        EXPECT_EQ(wallpaperTiled(c.arrangement), c.tiled) << int(c.arrangement);
    }
}

TEST(WallpaperBitmap, FittedPortraitHasDesktopColouredSideMargins)
{
    QImage picture(480, 640, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QImage bitmap =
        renderWallpaper(picture, WallpaperArrangement::Fit, kWorkArea, Qt::darkBlue);
    EXPECT_EQ(bitmap.pixelColor(0, 520), QColor(Qt::darkBlue));
    EXPECT_EQ(bitmap.pixelColor(960, 520), QColor(Qt::white));
    EXPECT_EQ(bitmap.pixelColor(1919, 520), QColor(Qt::darkBlue));
}

// A work area is a size, wherever the screen lies; on a scaled screen the desktop draws in
// device pixels.
TEST(WallpaperBitmap, WorkAreaIsLogicalSizeTimesPixelRatio)
{
    EXPECT_EQ(workAreaPixels(kWorkArea, 1.0), kWorkArea);
    EXPECT_EQ(workAreaPixels(kWorkArea, 2.0), QSize(3840, 2080));
    EXPECT_EQ(workAreaPixels({1280, 700}, 1.5), QSize(1920, 1050));
}

TEST(WallpaperBitmap, NothingToRenderGivesNoBitmap)
{
    EXPECT_TRUE(
        renderWallpaper(QImage(), WallpaperArrangement::Tile, kWorkArea, Qt::black).isNull());
    QImage picture(8, 8, QImage::Format_RGB32);
    EXPECT_TRUE(renderWallpaper(picture, WallpaperArrangement::Stretch, {}, Qt::black).isNull());
}

} // namespace
