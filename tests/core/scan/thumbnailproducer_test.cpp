#include <gtest/gtest.h>

#include "core/scan/folderscan.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/scan/thumbnailproducer.h"
#include "exif/jpegdecode.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/scanfolder.h"
#include "tests/support/writefixtures.h"

namespace
{

const QSize standardSize(160, 120);

// A plain JPEG's first 300 bytes: its tables, no picture.
QByteArray truncatedPlainFile()
{
    return writefixtures::plainJpeg(QSize(800, 600)).left(300);
}

TEST(ThumbnailSizeTag, FiveDigitsEachWithLeadingZeros)
{
    EXPECT_EQ(thumbnailSizeTag(1600, 1200), QStringLiteral("0160001200"));
    EXPECT_EQ(thumbnailSizeTag(0, 0), QStringLiteral("0000000000"));
    EXPECT_EQ(thumbnailSizeTag(123456, 90), QStringLiteral("2345600090"));
    EXPECT_EQ(thumbnailSizeTag(99999, 100000), QStringLiteral("9999900000"));
}

TEST(ThumbnailProducer, CameraFileIsListedFromItsExifThumbnail)
{
    ScanFolder folder;
    folder.addCamera(QStringLiteral("a.jpg"));
    const ProducedThumbnail produced =
        ThumbnailProducer(standardSize, Qt::white)(folder.file("a.jpg"));
    ASSERT_EQ(produced.outcome, ProducedThumbnail::Outcome::Listed);
    EXPECT_TRUE(produced.fromExif);
    EXPECT_TRUE(produced.tag.isEmpty());
    EXPECT_EQ(produced.image.size(), standardSize);
    // The thumbnail is kept as the camera wrote it.
    EXPECT_EQ(produced.jpeg, cameraThumbnail(CameraShot()));
}

TEST(ThumbnailProducer, PlainPictureIsDrawnToFitWithItsSizeTag)
{
    ScanFolder folder;
    folder.addPlain(QStringLiteral("p.jpg"), 1600, 1200, Qt::blue);
    const ProducedThumbnail produced =
        ThumbnailProducer(standardSize, Qt::white)(folder.file("p.jpg"));
    ASSERT_EQ(produced.outcome, ProducedThumbnail::Outcome::Listed);
    EXPECT_FALSE(produced.fromExif);
    EXPECT_EQ(produced.tag, QStringLiteral("0160001200"));
    EXPECT_EQ(produced.image.size(), standardSize);
    // The kept copy decodes back to the drawn picture.
    const QImage kept = decodeListPicture(produced.jpeg, standardSize);
    ASSERT_EQ(kept.size(), standardSize);
    EXPECT_LT(qAbs(qBlue(kept.pixel(80, 60)) - 255), 8);
}

TEST(ThumbnailProducer, PortraitPictureIsCentredBetweenSideBars)
{
    ScanFolder folder;
    folder.addPlain(QStringLiteral("tall.jpg"), 480, 640, Qt::black);
    const ProducedThumbnail produced =
        ThumbnailProducer(standardSize, Qt::white)(folder.file("tall.jpg"));
    ASSERT_EQ(produced.outcome, ProducedThumbnail::Outcome::Listed);
    EXPECT_EQ(produced.tag, QStringLiteral("0048000640"));
    // 480 x 640 into 160 x 120 draws 90 x 120 at left 35: bars are the background.
    EXPECT_EQ(produced.image.pixel(10, 60), QColor(Qt::white).rgb());
    EXPECT_EQ(produced.image.pixel(150, 60), QColor(Qt::white).rgb());
    EXPECT_LT(qGray(produced.image.pixel(80, 60)), 16);
}

TEST(ThumbnailProducer, DamagedPictureIsABadPicture)
{
    ScanFolder folder;
    folder.write(QStringLiteral("bad.jpg"), truncatedPlainFile());
    folder.write(QStringLiteral("text.jpg"), "not a picture at all");
    const ThumbnailProducer produce(standardSize, Qt::white);
    for (const char *name : {"bad.jpg", "text.jpg"}) {
        const ProducedThumbnail produced = produce(folder.file(QString::fromUtf8(name)));
        EXPECT_EQ(produced.outcome, ProducedThumbnail::Outcome::BadPicture) << name;
        EXPECT_FALSE(produced.fromExif);
        EXPECT_EQ(produced.error.number, 481);
    }
}

TEST(ThumbnailProducer, UnreadableFileIsAFileError)
{
    ScanFolder folder;
    const ProducedThumbnail produced =
        ThumbnailProducer(standardSize, Qt::white)(folder.file(QStringLiteral("gone.jpg")));
    EXPECT_EQ(produced.outcome, ProducedThumbnail::Outcome::Failed);
    EXPECT_EQ(produced.error.number, 53);
}

TEST(ThumbnailProducer, ListPicturesTakeTheStoreSizeExactly)
{
    ScanFolder folder;
    CameraShot shot;
    shot.frameSize = QSize(1280, 960);
    folder.addCamera(QStringLiteral("a.jpg"), shot);
    for (const QSize size : {QSize(200, 150), QSize(120, 90)}) {
        const ProducedThumbnail produced = ThumbnailProducer(size, Qt::white)(folder.file("a.jpg"));
        ASSERT_EQ(produced.outcome, ProducedThumbnail::Outcome::Listed);
        EXPECT_EQ(produced.image.size(), size);
    }
}

// The whole scan on files of each kind: Exif, plain and damaged pictures, and a
// conversion that replaces the files while the scan waits.
class RealFolderScan : public ::testing::TestWithParam<int>
{
  protected:
    FolderScanResult scan(bool answerYes)
    {
        FolderScanCallbacks callbacks;
        callbacks.askConversion = [&] {
            ++questions;
            if (answerYes) {
                for (const char *name : {"b.jpg", "c.jpg", "d.jpg", "e.jpg"})
                    folder.replaceWithCamera(QString::fromUtf8(name));
            }
            return answerYes;
        };
        callbacks.logError = [&](const QString &place, const ErrorRecord &) { logged << place; };
        FolderScanSettings settings;
        settings.workers = GetParam();
        FolderScan scanner(model, ThumbnailProducer(standardSize, Qt::white), callbacks);
        return scanner.run(folder.path(), settings, {});
    }

    ScanFolder folder;
    ThumbnailListModel model{decodeListPicture};
    QStringList logged;
    int questions = 0;
};

TEST_P(RealFolderScan, DamagedPictureAmongGoodOnes)
{
    folder.addCamera(QStringLiteral("a.jpg"));
    folder.addPlain(QStringLiteral("b.jpg"));
    folder.write(QStringLiteral("c.jpg"), truncatedPlainFile());
    folder.addCamera(QStringLiteral("d.jpg"), bigEndianCompactShot());
    const FolderScanResult result = scan(false);
    EXPECT_EQ(logged, QStringList({"BAD PIC "}));
    ASSERT_EQ(result.listed, 3);
    EXPECT_EQ(model.name(0), QStringLiteral("a.jpg"));
    EXPECT_EQ(model.name(1), QStringLiteral("b.jpg"));
    EXPECT_EQ(model.name(2), QStringLiteral("d.jpg"));
    EXPECT_TRUE(model.isFromExif(0));
    EXPECT_FALSE(model.isFromExif(1));
    EXPECT_EQ(model.tag(1), QStringLiteral("0006400048"));
    EXPECT_EQ(model.picture(2).size(), standardSize);
    EXPECT_EQ(questions, 1);
}

TEST_P(RealFolderScan, ConvertedFilesAreListedFromTheirNewThumbnails)
{
    folder.addCamera(QStringLiteral("a.jpg"));
    for (const char *name : {"b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        folder.addPlain(QString::fromUtf8(name));
    const FolderScanResult result = scan(true);
    EXPECT_EQ(questions, 1);
    ASSERT_EQ(result.listed, 5);
    EXPECT_TRUE(model.isFromExif(0));
    EXPECT_FALSE(model.isFromExif(1)); // the file the question came at
    for (int row = 2; row < 5; ++row)
        EXPECT_TRUE(model.isFromExif(row)) << row;
}

// Editors and some cameras put JFIF in front of the Exif segment: still Exif files.
TEST_P(RealFolderScan, ExifBehindJfifIsNotOfferedForConversion)
{
    CameraShot shot;
    shot.beforeExif = leadingsegment::jfif();
    folder.addCamera(QStringLiteral("a.jpg"), shot);
    const FolderScanResult result = scan(true);
    EXPECT_EQ(questions, 0);
    ASSERT_EQ(result.listed, 1);
    EXPECT_TRUE(model.isFromExif(0));
}

INSTANTIATE_TEST_SUITE_P(Workers, RealFolderScan, ::testing::Values(0, 2), [](const auto &info) {
    return info.param == 0 ? std::string("OneThread") : std::string("TwoWorkers");
});

TEST(ThumbnailProducerScan, PictureTooBigToDecodeIsABadPictureAndTheScanGoesOn)
{
    ScanFolder folder;
    folder.addPlain(QStringLiteral("a.jpg"));
    QImage small(64, 48, QImage::Format_RGB32);
    small.fill(Qt::gray);
    folder.write(QStringLiteral("b.jpg"),
                 jpegbytes::withFrameSize(encodeJpeg(small, 64, 48, 90), 65500, 65500));
    folder.addPlain(QStringLiteral("c.jpg"));
    for (int workers : {0, 2}) {
        QStringList logged;
        FolderScanCallbacks callbacks;
        callbacks.logError = [&](const QString &place, const ErrorRecord &) { logged << place; };
        FolderScanSettings settings;
        settings.offerConversion = false;
        settings.workers = workers;
        ThumbnailListModel model{decodeListPicture};
        FolderScan scanner(model, ThumbnailProducer(standardSize, Qt::white), callbacks);
        const FolderScanResult result = scanner.run(folder.path(), settings, {});
        EXPECT_EQ(logged, QStringList({"BAD PIC "})) << workers;
        ASSERT_EQ(result.listed, 2) << workers;
        EXPECT_EQ(model.name(1), QStringLiteral("c.jpg"));
    }
}

} // namespace
