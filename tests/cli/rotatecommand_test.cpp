#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "exif/exiforientation.h"
#include "exif/exiftags.h"
#include "exif/jpegdecode.h"
#include "exif/orientationfields.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/mpfjpeg.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/transformedimage.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

struct CliResult {
    int status = -1;
    QByteArray out;
};

CliResult rotateCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TABILO_CLI), QStringList{QStringLiteral("rotate")} + arguments);
    CliResult run;
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), process.readAllStandardOutput()};
    return run;
}

QByteArray exifPicture(const QSize &size = QSize(64, 48))
{
    const QByteArray header =
        TiffBuilder()
            .ascii(TiffBuilder::ExifIfd, ExifTag::DateTimeOriginal, "2004:05:06 07:08:09")
            .thumbnail(plainJpeg(QSize(16, 12)))
            .jpeg();
    return header.chopped(2) + plainJpeg(size).mid(2);
}

TEST(CliRotate, TurnsEachFileAndPrintsItsResult)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("a.jpg"));
    const QString missing = folder.filePath(QStringLiteral("gone.jpg"));
    writeFile(picture, exifPicture());
    const CliResult run =
        rotateCli({QStringLiteral("--code"), QStringLiteral("1"), picture, missing});
    EXPECT_EQ(run.status, 1) << "not every file was turned";
    EXPECT_EQ(run.out, picture.toUtf8() + ": 0\n" + missing.toUtf8() + ": 0 (no such file)\n");
    EXPECT_EQ(decodeJpeg(readFile(picture)).fullSize, QSize(48, 64));
    EXPECT_EQ(readFile(folder.filePath(QStringLiteral("Original/a.jpg"))), exifPicture());

    const CliResult again = rotateCli(
        {QStringLiteral("--no-backup"), QStringLiteral("--code"), QStringLiteral("2"), picture});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, picture.toUtf8() + ": 0\n");
    EXPECT_EQ(decodeJpeg(readFile(picture)).fullSize, QSize(48, 64));
    EXPECT_EQ(readFile(folder.filePath(QStringLiteral("Original/a.jpg"))), exifPicture());
}

// Killed in the middle of a batch, every picture is whole: unturned, or turned with its
// original in the backup folder; only hidden work files may be left beside them.
TEST(CliRotate, AKilledBatchLeavesEveryPictureWhole)
{
    QTemporaryDir folder;
    const QByteArray original = exifPicture(QSize(1600, 1200));
    QStringList pictures;
    for (int i = 0; i < 40; ++i) {
        pictures.append(folder.filePath(QStringLiteral("p%1.jpg").arg(i)));
        writeFile(pictures.last(), original);
    }
    QProcess process;
    process.start(
        QStringLiteral(TABILO_CLI),
        QStringList{QStringLiteral("rotate"), QStringLiteral("--code"), QStringLiteral("1")} +
            pictures);
    // Killed once the third backup is there (so two pictures were replaced), mid-batch.
    const QDir backups(folder.filePath(QStringLiteral("Original")));
    QDeadlineTimer deadline(30000);
    while (backups.entryList(QDir::Files).size() < 3 && !deadline.hasExpired())
        QThread::msleep(2);
    process.kill();
    process.waitForFinished();
    int turned = 0;
    for (const QString &picture : pictures) {
        const QByteArray bytes = readFile(picture);
        if (bytes == original)
            continue;
        ++turned;
        EXPECT_EQ(decodeJpeg(bytes).fullSize, QSize(1200, 1600));
        EXPECT_EQ(
            readFile(folder.filePath(QStringLiteral("Original/") + QFileInfo(picture).fileName())),
            original);
    }
    EXPECT_GE(turned, 2);
    EXPECT_LT(turned, pictures.size()) << "killed before the end";
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.jpg")}, QDir::Files).size(),
              pictures.size());
}

QImage pixels(const QByteArray &jpeg)
{
    return decodeJpeg(jpeg).image.convertToFormat(QImage::Format_RGB32);
}

QByteArray orientedPicture(std::optional<quint16> orientation, const QSize &size = {64, 48})
{
    CameraShot shot;
    shot.frameSize = size;
    shot.orientation = orientation;
    return cameraJpeg(shot);
}

// Each of the eight orientations: --auto makes the data upright as shown with every tag at 1,
// and --code 1 then --code 3 gives back the picture as shown; one already upright or without
// the tag is left byte for byte.
TEST(CliRotate, TurnsPicturesAsTheirOrientationShowsThem)
{
    QTemporaryDir folder;
    QStringList autos, twice;
    QList<QImage> upright;
    for (quint16 orientation = 1; orientation <= 8; ++orientation) {
        const QByteArray original = orientedPicture(orientation);
        upright.append(transformedImage(pixels(original), uprightCodeOf(orientation)));
        autos.append(folder.filePath(QStringLiteral("auto%1.jpg").arg(orientation)));
        twice.append(folder.filePath(QStringLiteral("twice%1.jpg").arg(orientation)));
        writeFile(autos.last(), original);
        writeFile(twice.last(), original);
    }
    const QString untagged = folder.filePath(QStringLiteral("untagged.jpg"));
    writeFile(untagged, orientedPicture(std::nullopt));
    const QStringList noBackup{QStringLiteral("--no-backup")};
    EXPECT_EQ(rotateCli(noBackup + QStringList{QStringLiteral("--auto"), untagged} + autos).status,
              0);
    EXPECT_EQ(
        rotateCli(noBackup + QStringList{QStringLiteral("--code"), QStringLiteral("1")} + twice)
            .status,
        0);
    EXPECT_EQ(
        rotateCli(noBackup + QStringList{QStringLiteral("--code"), QStringLiteral("3")} + twice)
            .status,
        0);

    EXPECT_EQ(readFile(untagged), orientedPicture(std::nullopt));
    EXPECT_EQ(readFile(autos[0]), orientedPicture(1));
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        for (const QString &picture : {autos[i], twice[i]}) {
            EXPECT_EQ(exifOrientation(picture), 1);
            EXPECT_TRUE(uprightPatches(readJpegHeader(picture)).isEmpty())
                << "every Orientation reads 1";
            EXPECT_LT(meanDifference(pixels(readFile(picture)), upright[i]), 2.0);
        }
    }
}

QString exiftool(const QStringList &arguments, QByteArray *out = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("exiftool"), arguments);
    if (!process.waitForFinished(30000))
        return QStringLiteral("exiftool did not finish");
    const QByteArray printed = process.readAllStandardOutput();
    if (out)
        *out = printed;
    return QString::fromUtf8(printed);
}

// A turn keeps what the camera stored after the picture: the MPF preview is turned and
// listed where it now lies (wherever the index stands), the video after it is kept.
TEST(CliRotate, KeepsWhatFollowsThePicture)
{
    if (QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        GTEST_SKIP() << "exiftool is not installed";
    const QByteArray main = orientedPicture(6, QSize(320, 240));
    const QByteArray video = QByteArray("....ftypmp42") + QByteArray(2000, 'v');
    for (const int indexAt : {0, 1}) {
        SCOPED_TRACE(indexAt);
        QTemporaryDir folder;
        const QString picture = folder.filePath(QStringLiteral("mpf.jpg"));
        const QByteArray original =
            withMpfPicture(main, plainJpeg(QSize(160, 96)), QByteArray(3, '\0'), video, indexAt);
        writeFile(picture, original);
        const QString warnings = exiftool({QStringLiteral("-validate"), QStringLiteral("-warning"),
                                           QStringLiteral("-a"), QStringLiteral("-s3"), picture});
        EXPECT_EQ(rotateCli({QStringLiteral("--auto"), picture}).status, 0);

        EXPECT_TRUE(readFile(picture).endsWith(video));
        EXPECT_EQ(exiftool({QStringLiteral("-validate"), QStringLiteral("-warning"),
                            QStringLiteral("-a"), QStringLiteral("-s3"), picture}),
                  warnings);
        QByteArray preview;
        exiftool({QStringLiteral("-b"), QStringLiteral("-MPImage2:PreviewImage"), picture},
                 &preview);
        const DecodedJpeg decoded = decodeJpeg(preview);
        EXPECT_FALSE(decoded.isNull());
        EXPECT_EQ(decoded.fullSize, QSize(96, 160));
    }
}

TEST(CliRotate, UsageErrorsExitWithStatus2)
{
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("4"), QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("right"), QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("1")},
        {QStringLiteral("--auto")},
        {QStringLiteral("--auto"), QStringLiteral("--code"), QStringLiteral("1"),
         QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("1"), QStringLiteral("--fast"),
         QStringLiteral("a.jpg")},
    };
    for (const QStringList &arguments : cases) {
        const CliResult run = rotateCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
