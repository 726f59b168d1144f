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

} // namespace
