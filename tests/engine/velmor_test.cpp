#include <dlfcn.h>

#include <QImage>

#include <gtest/gtest.h>

#include "engine/velmor.h"
#include "exif/jpegdecode.h"
#include "exif/jpeglayout.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/mpfjpeg.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/transformedimage.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

// The engine as the bridge sees it: loaded by path, entry points looked up by name.
class Engine : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_handle = ::dlopen(TABILO_VELMOR, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << ::dlerror();
        m_rotate = reinterpret_cast<VelmorRotateJpegFile>(::dlsym(m_handle, "rotateJPEGFile"));
        m_release =
            reinterpret_cast<VelmorReleaseJpegBuffer>(::dlsym(m_handle, "releaseJPEGBuffer"));
        ASSERT_NE(::dlsym(m_handle, "getVersion"), nullptr);
        ASSERT_NE(m_rotate, nullptr);
        ASSERT_NE(m_release, nullptr);
    }
    void TearDown() override
    {
        if (m_handle)
            ::dlclose(m_handle);
    }

    // The engine's result, and its output copied out (empty when it set none).
    int32_t rotate(const QByteArray &jpeg, int32_t code, QByteArray &output)
    {
        unsigned char *rotated = reinterpret_cast<unsigned char *>(1);
        int32_t size = -1;
        const int32_t result = m_rotate(reinterpret_cast<const unsigned char *>(jpeg.constData()),
                                        int32_t(jpeg.size()), &rotated, &size, code);
        if (result != 0 && result != VelmorKeptUnturned) {
            EXPECT_EQ(rotated, nullptr);
            EXPECT_EQ(size, 0);
            return result;
        }
        output = QByteArray(reinterpret_cast<const char *>(rotated), size);
        m_release(rotated);
        return result;
    }

    QByteArray turned(const QByteArray &jpeg, int32_t code)
    {
        QByteArray output;
        EXPECT_EQ(rotate(jpeg, code, output), 0) << "code " << code;
        return output;
    }

  private:
    void *m_handle = nullptr;
    VelmorRotateJpegFile m_rotate = nullptr;
    VelmorReleaseJpegBuffer m_release = nullptr;
};

// A camera-like file: Exif first, then a comment, IPTC data and the JFIF picture.
QByteArray cameraLike(const QSize &size)
{
    const QByteArray exif = TiffBuilder().ascii(TiffBuilder::Ifd0, 0x010F, "Maker").jpeg();
    const QByteArray plain = plainJpeg(size);
    QList<Segment> segments = segmentsOf(exif.left(exif.size() - 2) + plain.mid(2));
    segments.insert(1, makeSegment(0xFE, "a comment"));
    segments.insert(2, makeSegment(0xED, QByteArray("Photoshop 3.0\0", 14) + "captions"));
    return withSegments(plain, segments);
}

QList<QByteArray> metadataSegments(const QByteArray &jpeg)
{
    QList<QByteArray> result;
    for (const Segment &segment : segmentsOf(jpeg)) {
        if ((segment.marker >= 0xE0 && segment.marker <= 0xEF) || segment.marker == 0xFE)
            result.append(segment.bytes);
    }
    return result;
}

QImage pixels(const QByteArray &jpeg)
{
    return decodeJpeg(jpeg).image.convertToFormat(QImage::Format_RGB32);
}

TEST_F(Engine, TurnsThePictureAndCarriesEveryMarkerInOrder)
{
    const QByteArray source = cameraLike(QSize(64, 48));
    const QImage original = pixels(source);
    for (int32_t code = VelmorNone; code <= VelmorTransverse; ++code) {
        SCOPED_TRACE(code);
        const QByteArray output = turned(source, code);
        const JpegLayout layout = readJpegLayout(output);
        ASSERT_TRUE(layout.walked);
        // Turned the right way: the picture matches the original transformed as pixels.
        const QImage expected = transformedImage(original, code);
        EXPECT_EQ(QSize(layout.width, layout.height), expected.size());
        EXPECT_EQ(output.mid(2, 4), QByteArray("\xFF\xE1", 2) + source.mid(4, 2)) << "Exif first";
        EXPECT_EQ(metadataSegments(output), metadataSegments(source));
        EXPECT_LT(meanDifference(pixels(output), expected), 3.0);
    }
}

TEST_F(Engine, TurnsBackToTheSamePicture)
{
    const QByteArray source = cameraLike(QSize(64, 48));
    const QImage original = pixels(source);
    const QList<QList<int32_t>> roundTrips = {{1, 3}, {3, 1}, {2, 2}, {1, 1, 1, 1}, {0}};
    for (const QList<int32_t> &codes : roundTrips) {
        QByteArray data = source;
        for (const int32_t code : codes)
            data = turned(data, code);
        EXPECT_EQ(pixels(data), original) << "after " << codes.size() << " turns";
    }
}

// What a camera stores after the picture survives the turn: the pictures the MPF index
// lists are turned too and listed where they now lie; padding and a video stay in order.
TEST_F(Engine, CarriesWhatFollowsThePicture)
{
    const QByteArray main = cameraLike(QSize(64, 48));
    const QByteArray preview = plainJpeg(QSize(32, 16));
    const QByteArray gap(5, '\0');
    const QByteArray video = QByteArray("....ftypmp42") + QByteArray(300, 'v');
    const struct {
        const char *what;
        QByteArray second;
        int32_t result;
    } cases[] = {{"a preview", preview, 0},
                 {"a picture that cannot be turned", QByteArray("\xFF\xD8not a picture"),
                  VelmorKeptUnturned}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray source = withMpfPicture(main, c.second, gap, video);
        QByteArray output;
        ASSERT_EQ(rotate(source, VelmorClockwise, output), c.result);
        const QList<QByteArray> pictures = mpfPictures(output);
        ASSERT_EQ(pictures.size(), 2);
        EXPECT_EQ(pictures[0].size() + gap.size() + pictures[1].size() + video.size(),
                  output.size());
        EXPECT_EQ(output.sliced(pictures[0].size(), gap.size()), gap);
        EXPECT_TRUE(output.endsWith(video));
        EXPECT_EQ(pixels(pictures[0]), pixels(turned(main, VelmorClockwise)));
        if (c.result == 0)
            EXPECT_LT(meanDifference(pixels(pictures[1]),
                                     transformedImage(pixels(preview), VelmorClockwise)),
                      3.0);
        else
            EXPECT_EQ(pictures[1], c.second);
    }
}

TEST_F(Engine, FailsWithoutOutputOnWhatItCannotTurn)
{
    const QByteArray source = cameraLike(QSize(64, 48));
    const struct {
        const char *what;
        QByteArray jpeg;
        int32_t code;
    } cases[] = {
        {"not a JPEG", QByteArray(4000, 'x'), 1},
        {"cut short", source.left(source.size() * 2 / 3), 1},
        {"decodes with a warning", jpegbytes::withStrayBytesBeforeDqt(plainJpeg(QSize(64, 48))), 1},
        {"header only", source.left(source.indexOf("\xFF\xDA")), 1},
        {"empty", QByteArray(), 1},
        {"code outside 0-7", source, 8},
    };
    for (const auto &c : cases) {
        QByteArray output;
        EXPECT_NE(rotate(c.jpeg, c.code, output), 0) << c.what;
    }
}

} // namespace
