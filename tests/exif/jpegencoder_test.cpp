#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "exif/jpegencoder.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

int firstIndexOf(const QList<Segment> &segments, int marker)
{
    for (int i = 0; i < segments.size(); ++i) {
        if (segments[i].marker == marker)
            return i;
    }
    return -1;
}

} // namespace

TEST(JpegEncoder, WritesBaselineWithDqtFirstAndTheSurfacePixels)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("thumb.jpg"));
    const QImage surface = pattern(QSize(200, 150));
    ASSERT_EQ(DCSavetoJPEG(surface, 160, 120, path, 90), 0);

    const QByteArray jpeg = readFile(path);
    const QList<Segment> segments = segmentsOf(jpeg);
    const int dqt = firstIndexOf(segments, 0xDB);
    ASSERT_GE(dqt, 0);
    EXPECT_LT(dqt, firstIndexOf(segments, 0xC4));
    EXPECT_LT(dqt, firstIndexOf(segments, 0xC0));
    EXPECT_EQ(firstIndexOf(segments, 0xC2), -1);
    EXPECT_TRUE(jpeg.endsWith("\xFF\xD9"));

    // The top-left 160 x 120 of the surface, as Qt's own decoder sees it.
    const QImage decoded(path);
    ASSERT_EQ(decoded.size(), QSize(160, 120));
    for (const QPoint p : {QPoint(5, 5), QPoint(80, 60), QPoint(150, 110)}) {
        const QRgb want = surface.pixel(p), got = decoded.pixel(p);
        EXPECT_NEAR(qRed(got), qRed(want), 10) << p.x() << "," << p.y();
        EXPECT_NEAR(qGreen(got), qGreen(want), 10) << p.x() << "," << p.y();
        EXPECT_NEAR(qBlue(got), qBlue(want), 10) << p.x() << "," << p.y();
    }
}

TEST(JpegEncoder, HigherQualityKeepsMoreDetail)
{
    QImage noisy(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            noisy.setPixel(x, y, qRgb((x * 37 + y * 91) % 256, (x * 13) % 256, (y * 29) % 256));
    const qsizetype q90 = encodeJpeg(noisy, 160, 120, 90).size();
    const qsizetype q80 = encodeJpeg(noisy, 160, 120, 80).size();
    const qsizetype q70 = encodeJpeg(noisy, 160, 120, 70).size();
    EXPECT_GT(q90, q80);
    EXPECT_GT(q80, q70);
}

TEST(JpegEncoder, RefusesImpossibleRequestsWithoutTouchingTheTarget)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.jpg"));
    ASSERT_TRUE(writeFile(path, "previous"));
    const QImage surface = pattern(QSize(160, 120));
    EXPECT_EQ(DCSavetoJPEG(surface, 0, 120, path, 90), -1);
    EXPECT_EQ(DCSavetoJPEG(surface, 161, 120, path, 90), -1);
    EXPECT_EQ(DCSavetoJPEG(surface, 160, 120, path, 0), -1);
    EXPECT_EQ(DCSavetoJPEG(QImage(), 160, 120, path, 90), -1);
    EXPECT_EQ(readFile(path), QByteArray("previous"));
    EXPECT_EQ(DCSavetoJPEG(surface, 160, 120, dir.filePath(QStringLiteral("no/such/x.jpg")), 90),
              -1);
}
