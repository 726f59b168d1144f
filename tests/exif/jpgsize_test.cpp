#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "exif/jpgsize.h"
#include "tests/support/camerafixture.h"
#include "tests/support/jpegbytes.h"

using namespace jpegbytes;

namespace
{

constexpr quint8 kSof0 = 0xC0;
constexpr quint8 kSof1 = 0xC1;
constexpr quint8 kSof2 = 0xC2;
constexpr quint8 kSof3 = 0xC3;
constexpr quint8 kDht = 0xC4;
constexpr quint8 kDqt = 0xDB;
constexpr quint8 kApp0 = 0xE0;
constexpr quint8 kApp1 = 0xE1;
constexpr quint8 kCom = 0xFE;

class JpegFrameTest : public ::testing::Test
{
  protected:
    QString file(const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(QStringLiteral("f%1.jpg").arg(++m_count));
        EXPECT_TRUE(writeFile(path, bytes));
        return path;
    }

    QTemporaryDir m_folder;
    int m_count = 0;
};

// The layout a camera writes: Exif APP1, DQT, SOF0, DHT, SOS.
TEST_F(JpegFrameTest, CameraLayoutGivesSizeTypeAndBody)
{
    const QByteArray head = soi() + filler(kApp1, 300);
    const QString path =
        file(head + filler(kDqt, 130) + frame(kSof0, 1600, 1200) + filler(kDht, 40) + scan());
    const JpegSize size = GetJpegSize(path);
    EXPECT_EQ(size.width, 1600);
    EXPECT_EQ(size.height, 1200);
    EXPECT_EQ(GetJpegFrameType(path), 0);
    EXPECT_EQ(FindJpegBody(path), head.size() + 1);
    EXPECT_EQ(SizeNotMultipleOf8(path), 0);
}

TEST_F(JpegFrameTest, FrameKinds)
{
    const quint8 markers[] = {kSof0, kSof1, kSof2, kSof3};
    for (int kind = 0; kind < 4; ++kind) {
        const QString path =
            file(soi() + filler(kDqt, 67) + frame(markers[kind], 640, 480) + scan());
        EXPECT_EQ(GetJpegFrameType(path), kind);
        EXPECT_EQ(GetJpegSize(path).width, 640);
        EXPECT_EQ(GetJpegSize(path).height, 480);
    }
}

TEST_F(JpegFrameTest, DhtBeforeDqtIsLeftBehindTheBody)
{
    const QByteArray head = soi() + filler(kApp0, 14) + filler(kDht, 28) + filler(kCom, 9);
    const QString path = file(head + filler(kDqt, 67) + frame(kSof2, 64, 64) + scan());
    EXPECT_EQ(FindJpegBody(path), head.size() + 1);
}

TEST_F(JpegFrameTest, BaselineFrameBeforeDqtHasNoBody)
{
    const QString path = file(soi() + frame(kSof0, 320, 240) + filler(kDqt, 67) + scan());
    EXPECT_EQ(FindJpegBody(path), 0);
    EXPECT_EQ(GetJpegSize(path).width, 320);
}

TEST_F(JpegFrameTest, ExtendedFrameBeforeDqtIsPassedOverByTheBodySearch)
{
    // Only SOF0 stops the body search; the other frame kinds are walked through word by word.
    // A three-component frame header is 19 bytes long, so a fill byte is needed to keep the
    // next marker on a word boundary...
    const QByteArray head = soi() + frame(kSof1, 320, 240) + QByteArray("\xFF", 1);
    EXPECT_EQ(FindJpegBody(file(head + filler(kDqt, 67) + scan())), head.size() + 1);
    // ...without it the walk reads the marker's bytes split across two words and misses it.
    EXPECT_EQ(FindJpegBody(file(soi() + frame(kSof1, 320, 240) + filler(kDqt, 67) + scan())), 0);
}

TEST_F(JpegFrameTest, ScanBeforeAnyFrame)
{
    const QString path = file(soi() + filler(kDqt, 67) + scan() + frame(kSof0, 640, 480) + eoi());
    EXPECT_EQ(GetJpegSize(path).width, 0);
    EXPECT_EQ(GetJpegSize(path).height, 0);
    EXPECT_EQ(GetJpegFrameType(path), -1);
    EXPECT_EQ(SizeNotMultipleOf8(path), 0);

    const QString scanFirst = file(soi() + scan() + filler(kDqt, 67));
    EXPECT_EQ(FindJpegBody(scanFirst), 0);
}

TEST_F(JpegFrameTest, SizesNotMultipleOf8)
{
    EXPECT_EQ(SizeNotMultipleOf8(file(soi() + frame(kSof0, 1601, 1200) + scan())), 1);
    EXPECT_EQ(SizeNotMultipleOf8(file(soi() + frame(kSof0, 1600, 1201) + scan())), 1);
    EXPECT_EQ(SizeNotMultipleOf8(file(soi() + frame(kSof0, 1600, 1200) + scan())), 0);
}

TEST_F(JpegFrameTest, DimensionsAreUnsigned)
{
    const QString path = file(soi() + frame(kSof0, 65535, 40000) + scan());
    EXPECT_EQ(GetJpegSize(path).width, 65535);
    EXPECT_EQ(GetJpegSize(path).height, 40000);
}

// A skip lands on a segment's last word, which is examined like any other word: a segment
// that ends in the bytes of a marker acts as that marker.
TEST_F(JpegFrameTest, SkipLandsTwoBytesBeforeTheSegmentEnd)
{
    const QByteArray endsLikeSof2 = segment(kApp0, QByteArray(20, char(0x11)) + "\xFF\xC2");
    const QString path =
        file(soi() + endsLikeSof2 + filler(kDqt, 67) + frame(kSof0, 64, 48) + scan());
    EXPECT_EQ(GetJpegFrameType(path), 2);

    const QByteArray head = soi() + segment(kCom, QByteArray(10, char(0x11)));
    const QByteArray endsLikeDqt = segment(kApp1, QByteArray(30, char(0x11)) + "\xFF\xDB");
    const QString body = file(head + endsLikeDqt + filler(kDqt, 67) + frame(kSof0, 64, 48));
    EXPECT_EQ(FindJpegBody(body), head.size() + endsLikeDqt.size() - 2 + 1);
}

// Segments far larger than one read are jumped over, not read.
TEST_F(JpegFrameTest, LargeSegmentsBeforeTheFrame)
{
    const QByteArray head = soi() + filler(kApp1, 65000) + filler(0xE2, 40000);
    const QString path = file(head + filler(kDqt, 67) + frame(kSof2, 4000, 3000) + scan());
    EXPECT_EQ(GetJpegSize(path).width, 4000);
    EXPECT_EQ(GetJpegSize(path).height, 3000);
    EXPECT_EQ(GetJpegFrameType(path), 2);
    EXPECT_EQ(FindJpegBody(path), head.size() + 1);
}

TEST_F(JpegFrameTest, TruncatedFiles)
{
    const QByteArray whole =
        soi() + filler(kApp1, 200) + filler(kDqt, 67) + frame(kSof0, 640, 480) + scan();
    const qsizetype frameAt = whole.indexOf(QByteArray("\xFF\xC0", 2));
    // Cut inside the frame header, before the width.
    const QString cutInFrame = file(whole.left(frameAt + 7));
    EXPECT_EQ(GetJpegSize(cutInFrame).width, 0);
    EXPECT_EQ(GetJpegSize(cutInFrame).height, 0);
    EXPECT_EQ(GetJpegFrameType(cutInFrame), 0); // the marker itself was read

    const QString cutInApp1 = file(whole.left(100));
    EXPECT_EQ(GetJpegSize(cutInApp1).width, 0);
    EXPECT_EQ(GetJpegFrameType(cutInApp1), -1);
    EXPECT_EQ(FindJpegBody(cutInApp1), 0);
    EXPECT_EQ(SizeNotMultipleOf8(cutInApp1), 0);

    const QString empty = file(QByteArray());
    EXPECT_EQ(GetJpegFrameType(empty), -1);
    EXPECT_EQ(FindJpegBody(empty), 0);
    const QString oneByte = file(QByteArray("\xFF", 1));
    EXPECT_EQ(GetJpegSize(oneByte).width, 0);
}

TEST_F(JpegFrameTest, MissingOrUnreadablePaths)
{
    const QString missing = m_folder.filePath(QStringLiteral("missing.jpg"));
    EXPECT_EQ(GetJpegSize(missing).width, 0);
    EXPECT_EQ(GetJpegFrameType(missing), -1);
    EXPECT_EQ(SizeNotMultipleOf8(missing), 0);
    EXPECT_EQ(FindJpegBody(missing), 0);
    EXPECT_EQ(GetJpegFrameType(m_folder.path()), -1);
    EXPECT_EQ(FindJpegBody(m_folder.path()), 0);
}

// A zero segment length would send the walk back to the marker for ever.
TEST_F(JpegFrameTest, ZeroSegmentLengthEndsTheWalk)
{
    const QByteArray zeroLength("\xFF\xE1\x00\x00", 4);
    const QString path = file(soi() + zeroLength + filler(kDqt, 67) + frame(kSof0, 64, 48));
    EXPECT_EQ(GetJpegFrameType(path), -1);
    EXPECT_EQ(GetJpegSize(path).width, 0);
    EXPECT_EQ(FindJpegBody(path), 0);
}

TEST(JpegFrameCameraFiles, SizesMatchTheFrameHeaders)
{
    // Frame sizes as exiftool reports them (File:ImageWidth/ImageHeight); all baseline.
    const struct {
        const char *name;
        int width;
        int height;
    } files[] = {{"canon-ixus.jpg", 640, 480},
                 {"fujifilm-finepix40i.jpg", 600, 450},
                 {"nikon-e950.jpg", 800, 600},
                 {"DSCN0010.jpg", 640, 480}};
    for (const auto &expected : files) {
        const QString path = cameraFixture(expected.name);
        if (path.isEmpty())
            return;
        EXPECT_EQ(GetJpegSize(path).width, expected.width) << expected.name;
        EXPECT_EQ(GetJpegSize(path).height, expected.height) << expected.name;
        EXPECT_EQ(GetJpegFrameType(path), 0) << expected.name;
        EXPECT_GT(FindJpegBody(path), 0) << expected.name;
    }
    const QString fujifilm = cameraFixture("fujifilm-finepix40i.jpg");
    EXPECT_EQ(SizeNotMultipleOf8(fujifilm), 1);
    // First DQT marker positions from exiftool -v3 (payload offset - 4, plus 1).
    EXPECT_EQ(FindJpegBody(cameraFixture("canon-ixus.jpg")), 0x1c06 - 3);
    EXPECT_EQ(FindJpegBody(fujifilm), 0x2635 - 3);
}

} // namespace
