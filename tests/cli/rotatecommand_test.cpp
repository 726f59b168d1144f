#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

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

QByteArray exifPicture()
{
    const QByteArray header =
        TiffBuilder()
            .ascii(TiffBuilder::ExifIfd, ExifTag::DateTimeOriginal, "2004:05:06 07:08:09")
            .thumbnail(plainJpeg(QSize(16, 12)))
            .jpeg();
    return header.chopped(2) + plainJpeg(QSize(64, 48)).mid(2);
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
