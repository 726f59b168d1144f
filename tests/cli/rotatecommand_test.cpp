#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "exif/exiftags.h"
#include "exif/jpegdecode.h"
#include "tests/support/tiffbuilder.h"
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

TEST(CliRotate, UsageErrorsExitWithStatus2)
{
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("4"), QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("right"), QStringLiteral("a.jpg")},
        {QStringLiteral("--code"), QStringLiteral("1")},
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
