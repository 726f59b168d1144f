#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "core/errorlog.h"
#include "core/scan/thumbnailproducer.h"
#include "core/slideshow/slideprefetch.h"
#include "exif/jpegencoder.h"
#include "tests/support/jpegbytes.h"
#include "ui/viewer/frmpictex.h"

namespace
{

struct DecoderOutcome {
    const char *name;
    QByteArray bytes;
    bool shown;          // the picture is used
    const char *warning; // what the list's record of the damage says, empty when clean
};

QByteArray plainPicture()
{
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / 320, y * 255 / 240, 90));
    return encodeJpeg(image, image.width(), image.height(), 90);
}

} // namespace

// Whatever the decoder can deliver is shown by the list, the viewer and the slide show alike,
// at its full size; only the list's record says it was damaged. What it cannot decode at all
// none of them shows.
TEST(DamagedPicture, DecoderOutcomesReachListViewerAndSlideAlike)
{
    const QByteArray clean = plainPicture();
    const DecoderOutcome outcomes[] = {
        {"clean", clean, true, ""},
        {"warning", jpegbytes::withStrayBytesBeforeDqt(clean), true,
         "Corrupt JPEG data: 2 extraneous bytes before marker 0xdb"},
        {"cut short", clean.left(clean.size() * 2 / 3), true, "Premature end of JPEG file"},
        {"undecodable", clean.left(clean.indexOf(QByteArrayView("\xFF\xDA", 2))), false, ""},
    };
    QTemporaryDir dir;
    QStringList logged;
    setErrorLogSink([&logged](const QString &line) { logged.append(line); });
    for (const DecoderOutcome &outcome : outcomes) {
        SCOPED_TRACE(outcome.name);
        const QString path = dir.filePath(QString::fromLatin1(outcome.name) + ".jpg");
        ASSERT_TRUE(jpegbytes::writeFile(path, outcome.bytes));

        const ProducedThumbnail listed = ThumbnailProducer(QSize(160, 120), Qt::white)(path);
        EXPECT_EQ(listed.outcome == ProducedThumbnail::Outcome::Listed, outcome.shown);
        EXPECT_EQ(listed.image.size(), outcome.shown ? QSize(160, 120) : QSize(0, 0));
        EXPECT_EQ(listed.damaged, *outcome.warning != '\0');
        if (listed.damaged) {
            EXPECT_TRUE(listed.error.description.endsWith(QString::fromLatin1(outcome.warning)))
                << listed.error.description.toStdString();
        }

        frmPictEX viewer(path);
        viewer.Form_Load();
        EXPECT_EQ(viewer.picture().size(), outcome.shown ? QSize(320, 240) : QSize(0, 0));

        const PreparedSlide slide = prepareSlide(path, QSize(640, 480), Qt::black, true);
        EXPECT_EQ(slide.outcome == PreparedSlide::Outcome::Ready, outcome.shown);
        EXPECT_EQ(slide.natural, outcome.shown ? QSize(320, 240) : QSize());
    }
    setErrorLogSink({});
    // Only the viewer logs, and only what it could not show.
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(QStringLiteral("undecodable.jpg"))) << logged[0].toStdString();
}
