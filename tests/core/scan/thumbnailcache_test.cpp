#include <gtest/gtest.h>

#include <QColor>

#include "core/scan/thumbnailcache.h"
#include "core/scan/thumbnaillistmodel.h"

namespace
{

QImage picture(QColor color, QSize size = QSize(160, 120))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

const qint64 onePicture = picture(Qt::red).sizeInBytes();

TEST(ThumbnailCache, DropsTheLeastRecentlyUsedPictureFirst)
{
    ThumbnailCache cache(3 * onePicture);
    cache.insert(1, picture(Qt::red));
    cache.insert(2, picture(Qt::green));
    cache.insert(3, picture(Qt::blue));
    EXPECT_FALSE(cache.find(1).isNull()); // 1 is now the most recent
    cache.insert(4, picture(Qt::black));
    EXPECT_TRUE(cache.find(2).isNull());
    EXPECT_FALSE(cache.find(1).isNull());
    EXPECT_FALSE(cache.find(3).isNull());
    EXPECT_FALSE(cache.find(4).isNull());
    EXPECT_EQ(cache.count(), 3);
    EXPECT_EQ(cache.bytesUsed(), 3 * onePicture);
}

TEST(ThumbnailCache, ReplacingAndRemovingKeepTheByteCountRight)
{
    ThumbnailCache cache(10 * onePicture);
    cache.insert(1, picture(Qt::red));
    cache.insert(1, picture(Qt::green, QSize(80, 60)));
    EXPECT_EQ(cache.count(), 1);
    EXPECT_EQ(cache.bytesUsed(), picture(Qt::green, QSize(80, 60)).sizeInBytes());
    EXPECT_EQ(cache.find(1).pixel(0, 0), QColor(Qt::green).rgb());
    cache.remove(1);
    cache.remove(99);
    EXPECT_EQ(cache.bytesUsed(), 0);
    EXPECT_EQ(cache.count(), 0);
}

TEST(ThumbnailCache, PictureLargerThanTheBudgetIsNotKept)
{
    ThumbnailCache cache(onePicture - 1);
    cache.insert(1, picture(Qt::red));
    EXPECT_EQ(cache.count(), 0);
    EXPECT_EQ(cache.bytesUsed(), 0);
}

// A decode that counts its calls and paints the first byte as grey level.
struct CountingDecode {
    std::shared_ptr<int> calls = std::make_shared<int>(0);
    QImage operator()(const QByteArray &jpeg, QSize size) const
    {
        ++*calls;
        const int level = jpeg.isEmpty() ? 0 : quint8(jpeg.at(0));
        return picture(QColor(level, level, level), size);
    }
};

TEST(ThumbnailListModel, ManyRowsStayWithinTheCacheBudget)
{
    CountingDecode decode;
    const qint64 budget = 20 * onePicture;
    ThumbnailListModel model(decode, budget);
    for (int row = 0; row < 1000; ++row)
        model.append(QStringLiteral("%1.jpg").arg(row), true, {}, QByteArray(1, char(row % 256)),
                     picture(Qt::white));
    EXPECT_LE(model.cache().bytesUsed(), budget);
    EXPECT_EQ(model.compressedBytes(), 1000);
    EXPECT_EQ(*decode.calls, 0);

    // An early row was dropped from the cache: it is decoded again on demand,
    // then served from the cache.
    const QImage image = model.data(model.index(5), Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(image.size(), QSize(160, 120));
    EXPECT_EQ(qGray(image.pixel(0, 0)), 5);
    model.picture(5);
    EXPECT_EQ(*decode.calls, 1);
    EXPECT_LE(model.cache().bytesUsed(), budget);
}

TEST(ThumbnailListModel, RowsCarryNameColourAndTag)
{
    ThumbnailListModel model(CountingDecode{});
    model.setTextColors(Qt::black, Qt::red);
    model.append(QStringLiteral("a.jpg"), true, {}, "x");
    model.append(QStringLiteral("b.jpg"), false, QStringLiteral("0160001200"), "y");
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0)).toString(), QStringLiteral("a.jpg"));
    EXPECT_EQ(model.data(model.index(0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    EXPECT_EQ(model.data(model.index(1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(model.data(model.index(1), ThumbnailListModel::TagRole).toString(),
              QStringLiteral("0160001200"));
    EXPECT_TRUE(model.data(model.index(0), ThumbnailListModel::TagRole).toString().isEmpty());
    EXPECT_EQ(model.rowOfName(QStringLiteral("b.jpg")), 1);
    EXPECT_EQ(model.rowOfName(QStringLiteral("B.jpg")), -1);
}

TEST(ThumbnailListModel, RemovedRowsKeepTheOthersPictures)
{
    CountingDecode decode;
    ThumbnailListModel model(decode);
    for (int row = 0; row < 4; ++row)
        model.append(QStringLiteral("%1.jpg").arg(row), true, {}, QByteArray(1, char(10 * row)),
                     picture(QColor(10 * row, 10 * row, 10 * row)));
    EXPECT_TRUE(model.removeRows(1, 2));
    EXPECT_FALSE(model.removeRows(1, 5));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.name(1), QStringLiteral("3.jpg"));
    EXPECT_EQ(qGray(model.picture(1).pixel(0, 0)), 30);
    EXPECT_EQ(*decode.calls, 0);
    EXPECT_EQ(model.compressedBytes(), 2);
}

TEST(ThumbnailListModel, NewImageSizeDecodesAgainAtThatSize)
{
    CountingDecode decode;
    ThumbnailListModel model(decode);
    model.append(QStringLiteral("a.jpg"), true, {}, "x", picture(Qt::white));
    model.setImageSize(QSize(200, 150));
    EXPECT_EQ(model.picture(0).size(), QSize(200, 150));
    EXPECT_EQ(*decode.calls, 1);
}

TEST(ThumbnailListModel, PictureThatNoLongerDecodesShowsAnEmptyFrame)
{
    ThumbnailListModel model([](const QByteArray &, QSize) { return QImage(); });
    model.append(QStringLiteral("a.jpg"), true, {}, "x");
    EXPECT_EQ(model.picture(0).size(), QSize(160, 120));
}

} // namespace
