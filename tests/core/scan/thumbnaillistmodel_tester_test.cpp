#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "core/scan/thumbnaillistmodel.h"

namespace
{

// Qt's model tester checks every signal and row count while the model is
// filled, emptied and edited the way the scan and the file commands do.
TEST(ThumbnailListModelTester, ScanAndEditsKeepTheModelConsistent)
{
    ThumbnailListModel model([](const QByteArray &, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        return image;
    });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int row = 0; row < 30; ++row)
        model.append(QStringLiteral("%1.jpg").arg(row), row % 3 != 0, {}, "x");
    model.removeRows(3, 4);
    model.setName(0, QStringLiteral("renamed.jpg"));
    model.setImageSize(QSize(120, 90));
    model.setTextColors(Qt::blue, Qt::darkRed);
    model.clear();
    model.append(QStringLiteral("again.jpg"), true, {}, "x");
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.picture(0).size(), QSize(120, 90));
}

// A turned entry is ghosted (dimmed, and stays so); an entry left out of a
// command shows the complement of its colour until inverted back.
TEST(ThumbnailListModelTester, GhostedAndInvertedEntriesChangeOnlyTheirLook)
{
    ThumbnailListModel model([](const QByteArray &, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::black);
        return image;
    });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setTextColors(QColor(0, 0, 255), QColor(255, 0, 0));
    model.append(QStringLiteral("a.jpg"), true, {}, "x");
    model.append(QStringLiteral("b.jpg"), false, {}, "x");
    const auto color = [&](int row) {
        return model.data(model.index(row), Qt::ForegroundRole).value<QColor>();
    };

    model.setGhosted(0);
    EXPECT_TRUE(model.isGhosted(0));
    EXPECT_TRUE(model.data(model.index(0), ThumbnailListModel::GhostedRole).toBool());
    EXPECT_FALSE(model.isGhosted(1));
    EXPECT_LT(color(0).alpha(), 255);
    EXPECT_EQ(color(0).rgb(), QColor(0, 0, 255).rgb());
    const QImage ghost = model.data(model.index(0), Qt::DecorationRole).value<QImage>();
    EXPECT_GT(qGray(ghost.pixel(0, 0)), 100) << "a ghosted picture is shown dimmed";
    EXPECT_EQ(model.data(model.index(1), Qt::DecorationRole).value<QImage>().pixel(0, 0),
              QColor(Qt::black).rgb());

    model.invertTextColor(1);
    EXPECT_EQ(color(1), QColor(0, 255, 255));
    model.invertTextColor(1);
    EXPECT_EQ(color(1), QColor(255, 0, 0));
    EXPECT_EQ(model.name(1), QStringLiteral("b.jpg"));
}

} // namespace
