#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include <sys/stat.h>

#include "exif/jpegdecode.h"
#include "exif/paintfit.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/tiffbuilder.h"

namespace
{

// A smooth test picture: gradients plus a few hard edges.
QImage testPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool block = (x / (width / 4) + y / (height / 4)) % 2 == 0;
            line[x] = qRgb(255 * x / width, 255 * y / height, block ? 200 : 40);
        }
    }
    return image;
}

// Encodes pixels with TurboJPEG (pixelFormat describes `pixels`).
QByteArray encode(const uchar *pixels, int width, int pitch, int height, int pixelFormat,
                  int subsampling, int flags = 0)
{
    tjhandle handle = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle, pixels, width, pitch, height, pixelFormat, &jpeg, &size,
                                   subsampling, 90, flags);
    QByteArray bytes =
        result == 0 ? QByteArray(reinterpret_cast<char *>(jpeg), qsizetype(size)) : QByteArray();
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

QByteArray encode(const QImage &image, int subsampling = TJSAMP_420, int flags = 0)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return encode(rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(), TJPF_RGB,
                  subsampling, flags);
}

// Mean absolute difference per channel over two images of the same size.
double meanDifference(const QImage &a, const QImage &b)
{
    double total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    }
    return total / (3.0 * a.width() * a.height());
}

QImage fitted(const DecodedJpeg &decoded, const QSize &box)
{
    QImage dest(box, QImage::Format_RGB32);
    dest.fill(Qt::black);
    PaintFit(dest, decoded.image, Qt::black, decoded.fullSize);
    return dest;
}

TEST(JpegDecodeScale, SmallestScaleStillAtLeastTheDrawnSize)
{
    EXPECT_EQ(jpegDecodeSizeForBox(QSize(4000, 3000), QSize(160, 120)), QSize(500, 375));
    EXPECT_EQ(jpegDecodeSizeForBox(QSize(1600, 1200), QSize(160, 160)), QSize(200, 150));
    EXPECT_EQ(jpegDecodeSizeForBox(QSize(640, 480), QSize(160, 120)), QSize(160, 120));
    // 700 x 480 is drawn 160 x 110: 1/8 (88 x 60) is too small, 1/4 (175 x 120) is not.
    EXPECT_EQ(jpegDecodeSizeForBox(QSize(700, 480), QSize(160, 120)), QSize(175, 120));
    // 3/8 of 640 x 480 is 240 x 180, the smallest scale covering a 200 x 150 box.
    EXPECT_EQ(jpegDecodeSizeForBox(QSize(640, 480), QSize(200, 150)), QSize(240, 180));
    // Never above full size, even for a box larger than the picture.
    EXPECT_EQ(jpegDecodeSizeForBox(QSize(120, 90), QSize(160, 120)), QSize(120, 90));
}

TEST(JpegDecode, ScaledDecodeFitsLikeAFullDecode)
{
    const QByteArray jpeg = encode(testPicture(1600, 1200));
    ASSERT_FALSE(jpeg.isEmpty());
    const DecodedJpeg full = decodeJpeg(jpeg);
    const DecodedJpeg scaled = decodeJpegForBox(jpeg, QSize(160, 120));
    ASSERT_FALSE(full.isNull()) << full.error.toStdString();
    ASSERT_FALSE(scaled.isNull()) << scaled.error.toStdString();
    EXPECT_EQ(full.image.size(), QSize(1600, 1200));
    EXPECT_EQ(scaled.image.size(), QSize(200, 150));
    EXPECT_EQ(scaled.fullSize, QSize(1600, 1200));
    EXPECT_LT(meanDifference(fitted(full, QSize(160, 120)), fitted(scaled, QSize(160, 120))), 4.0);
}

TEST(JpegDecode, ProgressiveAndOddSizes)
{
    const QByteArray jpeg = encode(testPicture(1601, 1203), TJSAMP_420, TJFLAG_PROGRESSIVE);
    ASSERT_FALSE(jpeg.isEmpty());
    const DecodedJpeg full = decodeJpeg(jpeg);
    const DecodedJpeg scaled = decodeJpegForBox(jpeg, QSize(160, 120));
    ASSERT_FALSE(scaled.isNull()) << scaled.error.toStdString();
    EXPECT_EQ(scaled.fullSize, QSize(1601, 1203));
    EXPECT_LT(meanDifference(fitted(full, QSize(160, 120)), fitted(scaled, QSize(160, 120))), 4.0);
}

TEST(JpegDecode, Grayscale)
{
    const QImage gray = testPicture(320, 240).convertToFormat(QImage::Format_Grayscale8);
    const QByteArray jpeg =
        encode(gray.constBits(), 320, int(gray.bytesPerLine()), 240, TJPF_GRAY, TJSAMP_GRAY);
    const DecodedJpeg decoded = decodeJpeg(jpeg);
    ASSERT_FALSE(decoded.isNull()) << decoded.error.toStdString();
    const QRgb pixel = decoded.image.pixel(300, 200);
    EXPECT_EQ(qRed(pixel), qGreen(pixel));
    EXPECT_EQ(qGreen(pixel), qBlue(pixel));
    EXPECT_NEAR(qRed(pixel), qGray(gray.pixel(300, 200)), 6);
}

TEST(JpegDecode, CmykIsShownInColour)
{
    // Inverted (Adobe) CMYK, as image editors write it: no ink is 255.
    const int width = 64, height = 32;
    QByteArray cmyk;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool red = x < width / 2;
            cmyk.append(char(red ? 255 : 0)).append(char(red ? 0 : 255)).append(char(0));
            cmyk.append(char(255));
        }
    }
    const QByteArray jpeg = encode(reinterpret_cast<const uchar *>(cmyk.constData()), width,
                                   width * 4, height, TJPF_CMYK, TJSAMP_444);
    ASSERT_FALSE(jpeg.isEmpty());
    const DecodedJpeg decoded = decodeJpeg(jpeg);
    ASSERT_FALSE(decoded.isNull()) << decoded.error.toStdString();
    const QRgb left = decoded.image.pixel(8, 16);
    EXPECT_GT(qRed(left), 230);
    EXPECT_LT(qGreen(left), 25);
    EXPECT_LT(qBlue(left), 25);
    const QRgb right = decoded.image.pixel(56, 16);
    EXPECT_LT(qRed(right), 25);
    EXPECT_GT(qGreen(right), 230);
}

TEST(JpegDecode, CameraFileFromDisk)
{
    QTemporaryDir folder;
    const QString path = writeTestFile(folder, QStringLiteral("camera.jpg"), cameraJpeg());
    const DecodedJpeg full = decodeJpegFile(path);
    ASSERT_FALSE(full.isNull()) << full.error.toStdString();
    EXPECT_EQ(full.image.size(), QSize(640, 480));
    const DecodedJpeg thumb = decodeJpegFileForBox(path, QSize(160, 120));
    EXPECT_EQ(thumb.image.size(), QSize(160, 120));
    EXPECT_LT(meanDifference(fitted(full, QSize(160, 120)), fitted(thumb, QSize(160, 120))), 6.0);
}

TEST(JpegDecode, FailuresGiveANullImageAndAReason)
{
    const DecodedJpeg empty = decodeJpeg(QByteArray());
    EXPECT_TRUE(empty.isNull());
    EXPECT_FALSE(empty.error.isEmpty());

    const DecodedJpeg garbage = decodeJpeg(QByteArray(1000, 'x'));
    EXPECT_TRUE(garbage.isNull());
    EXPECT_FALSE(garbage.error.isEmpty());

    const DecodedJpeg missing = decodeJpegFile(QStringLiteral("/nonexistent/none.jpg"));
    EXPECT_TRUE(missing.isNull());
    EXPECT_FALSE(missing.error.isEmpty());

    // A header that promises 65535 x 65535 pixels is refused before any allocation.
    const QByteArray huge = jpegbytes::soi() + jpegbytes::frame(0xC0, 65535, 65535);
    EXPECT_TRUE(decodeJpeg(huge).isNull());
}

TEST(JpegDecode, ForgedHugeSizeIsRefusedAtEveryScale)
{
    QTemporaryDir dir;
    const QByteArray real = encode(testPicture(64, 48));
    // 65500 x 65500 (the largest size the codec accepts) would need 16 GB; 20000 x 14000
    // is just over the 1 GiB bound. Both would fit a thumbnail box after 1/8 scaling.
    for (const QSize forged : {QSize(65500, 65500), QSize(20000, 14000)}) {
        const QByteArray jpeg =
            jpegbytes::withFrameSize(real, quint16(forged.width()), quint16(forged.height()));
        ASSERT_FALSE(jpeg.isEmpty());
        const QString path = dir.filePath(QStringLiteral("forged.jpg"));
        ASSERT_TRUE(jpegbytes::writeFile(path, jpeg));
        const QSize box(160, 120);
        for (const DecodedJpeg &decoded : {decodeJpeg(jpeg), decodeJpegForBox(jpeg, box),
                                           decodeJpegFile(path), decodeJpegFileForBox(path, box)}) {
            EXPECT_TRUE(decoded.isNull()) << forged.width();
            EXPECT_TRUE(decoded.error.contains(QStringLiteral("too large")))
                << decoded.error.toStdString();
        }
    }
}

// A pipe in a picture's place must fail at once rather than wait for a writer, and a file far
// too large to be a picture must not be read into memory.
TEST(JpegDecode, FileThatCannotBeReadIsAFailure)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.jpg"));
    ASSERT_TRUE(jpegbytes::writeFile(empty, QByteArray()));
    const QString pipe = dir.filePath(QStringLiteral("pipe.jpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Sparse: refused by its size, before anything is read.
    const QString oversized = dir.filePath(QStringLiteral("oversized.jpg"));
    ASSERT_TRUE(QFile(oversized).open(QIODevice::WriteOnly) &&
                QFile::resize(oversized, qint64(4) << 30));
    for (const QString &path : {empty, dir.path(), pipe, oversized}) {
        const DecodedJpeg decoded = decodeJpegFile(path);
        EXPECT_TRUE(decoded.isNull());
        EXPECT_FALSE(decoded.error.isEmpty()) << path.toStdString();
    }
    EXPECT_TRUE(
        decodeJpegFile(oversized).error.endsWith(QStringLiteral("too large to be a picture")));
}

TEST(JpegDecode, FileDecodesLikeItsBytes)
{
    QTemporaryDir dir;
    const QByteArray jpeg = encode(testPicture(320, 240));
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    ASSERT_TRUE(jpegbytes::writeFile(path, jpeg));
    const DecodedJpeg fromFile = decodeJpegFileForBox(path, QSize(160, 120));
    ASSERT_FALSE(fromFile.isNull()) << fromFile.error.toStdString();
    EXPECT_EQ(fromFile.image, decodeJpegForBox(jpeg, QSize(160, 120)).image);
}

// What this process has read from files so far.
qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

// A small picture followed by a long tail (a video named ".jpg", a padded copy) is read only as
// far as the picture goes, baseline or progressive, not whole into memory.
TEST(JpegDecode, FileIsReadOnlyAsFarAsItsPicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tail.jpg"));
    constexpr qint64 tail = qint64(256) << 20;
    for (const int flags : {0, TJFLAG_PROGRESSIVE}) {
        const QByteArray jpeg = encode(testPicture(640, 480), TJSAMP_420, flags);
        ASSERT_TRUE(jpegbytes::writeFile(path, jpeg));
        ASSERT_TRUE(QFile::resize(path, jpeg.size() + tail)); // sparse: no disk is used
        const qint64 before = bytesReadSoFar();
        const DecodedJpeg decoded = decodeJpegFileForBox(path, QSize(160, 120));
        const qint64 read = bytesReadSoFar() - before;
        ASSERT_GE(before, 0);
        ASSERT_FALSE(decoded.isNull()) << decoded.error.toStdString();
        EXPECT_FALSE(decoded.isDamaged()) << decoded.warning.toStdString();
        EXPECT_LT(read, jpeg.size() + 256 * 1024) << flags;
    }
}

TEST(JpegDecode, TruncatedPictureStillDecodes)
{
    const QByteArray jpeg = encode(testPicture(320, 240));
    const DecodedJpeg decoded = decodeJpeg(jpeg.left(jpeg.size() * 2 / 3));
    ASSERT_FALSE(decoded.isNull()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.image.size(), QSize(320, 240));
}

} // namespace
