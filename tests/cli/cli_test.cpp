#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/support/camerajpeg.h"
#include "tests/support/writefixtures.h"

namespace
{

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A writable file in folder holding bytes.
QString writeFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// The program's own lines on standard error; Qt may add warnings about the environment.
QByteArray cliErrors(const QByteArray &err)
{
    QByteArray own;
    for (const QByteArray &line : err.split('\n')) {
        if (line.startsWith("tabilo-cli: "))
            own += line + '\n';
    }
    return own;
}

// A camera file in folder.
QString cameraFile(const QTemporaryDir &folder, const CameraShot &shot = {})
{
    return writeFile(folder, QStringLiteral("camera.jpg"), cameraJpeg(shot));
}

QByteArray plainPicture()
{
    return writefixtures::plainJpeg(QSize(640, 480));
}

// The same with its frame marker turned from baseline (SOF0) into progressive (SOF2).
QByteArray progressivePicture()
{
    QByteArray bytes = plainPicture();
    for (const writefixtures::Segment &segment : writefixtures::segmentsOf(bytes)) {
        if (segment.marker == 0xC0)
            bytes[segment.offset + 1] = '\xC2';
    }
    return bytes;
}

CliRun runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TABILO_CLI), arguments);
    CliRun run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST(Cli, Version)
{
    const CliRun run = runCli({QStringLiteral("--version")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Tabilo 5.7.20\n");
}

// The values the shot stores, shaped by the program's own rules: untrimmed texts, the later
// shutter tag, DateTimeDigitized.
TEST(Cli, ExifOfALittleEndianCameraFile)
{
    QTemporaryDir folder;
    const QString path = cameraFile(folder, zoomCompactShot());
    const CliRun run = runCli({QStringLiteral("exif"), path});
    EXPECT_EQ(run.status, 0);
    const QByteArray expected =
        "{\"GetExif\":\"" + path.toUtf8() +
        "\",\"ExifError\":0,\"VersionExif\":\"2.1\",\"IsExif\":true,"
        "\"DateExif\":\"2001/06/09 15:17:32\",\"SizeExifX\":640,\"SizeExifY\":480,"
        "\"FlashExif\":\"OFF\",\"ShutterSpeed\":\"1/350\",\"MakerExif\":\"Canon\","
        "\"SoftwearExif\":\"\",\"ModelExif\":\"Canon DIGITAL IXUS\\u0000\","
        "\"PictureMode\":\"未定義\",\"Fnumber\":4,\"SokkouMode\":\"中央重点\","
        "\"RosyutsuProgram\":\"未定義\",\"FocalLength\":10.8125,\"ExpBiasVal\":\" 0\","
        "\"IIMM\":\"II\",\"HaveThumb\":true,\"ISOspeedRate\":0}\n";
    EXPECT_EQ(run.out, expected);
}

TEST(Cli, ExifOfABigEndianCameraFile)
{
    QTemporaryDir folder;
    const QString path = cameraFile(folder, bigEndianCompactShot());
    const CliRun run = runCli({QStringLiteral("exif"), path});
    EXPECT_EQ(run.status, 0);
    const QByteArray expected =
        "{\"GetExif\":\"" + path.toUtf8() +
        "\",\"ExifError\":0,\"VersionExif\":\"2.1\",\"IsExif\":true,"
        "\"DateExif\":\"2000/08/04 18:22:57\",\"SizeExifX\":2400,\"SizeExifY\":1800,"
        "\"FlashExif\":\"ON \",\"ShutterSpeed\":\"1/45\",\"MakerExif\":\"FUJIFILM\","
        "\"SoftwearExif\":\"Digital Camera FinePix40i Ver1.39\",\"ModelExif\":\"FinePix40i\","
        "\"PictureMode\":\"未定義\",\"Fnumber\":2.8,\"SokkouMode\":\"分割測光\","
        "\"RosyutsuProgram\":\"ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ\",\"FocalLength\":8.7,\"ExpBiasVal\":\" 0\","
        "\"IIMM\":\"MM\",\"HaveThumb\":true,\"ISOspeedRate\":200}\n";
    EXPECT_EQ(run.out, expected);
}

TEST(Cli, ExifOfAFileThatIsNotExif)
{
    // A plain JPEG: the bytes at offset 12 are JFIF's minor version (2) and units (1).
    QTemporaryDir folder;
    const QByteArray plain =
        QByteArray("\xFF\xD8", 2) + leadingsegment::jfif() + plainPicture().mid(20);
    const CliRun run =
        runCli({QStringLiteral("exif"), writeFile(folder, QStringLiteral("plain.jpg"), plain)});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains("\"IsExif\":false")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("\"VersionExif\":\"\\u0000\"")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("\"IIMM\":\"\\u0002\\u0001\"")) << run.out.constData();
    EXPECT_TRUE(run.out.endsWith("}\n"));
}

TEST(Cli, JpegFrame)
{
    // 600 x 450 baseline; the body starts at the first DQT marker, counted from 1.
    CameraShot shot;
    shot.frameSize = QSize(600, 450);
    const QByteArray bytes = cameraJpeg(shot);
    qint64 firstDqt = 0;
    for (const writefixtures::Segment &segment : writefixtures::segmentsOf(bytes)) {
        if (segment.marker == 0xDB && firstDqt == 0)
            firstDqt = segment.offset;
    }
    ASSERT_GT(firstDqt, 0);
    QTemporaryDir folder;
    const CliRun run =
        runCli({QStringLiteral("jpeg"), writeFile(folder, QStringLiteral("f.jpg"), bytes)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"width\":600,\"height\":450,\"frameType\":0,\"notMultipleOf8\":1,"
                       "\"body\":" +
                           QByteArray::number(firstDqt + 1) + "}\n");
}

TEST(Cli, ThumbWritesTheEmbeddedThumbnail)
{
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("thumb.jpg"));
    const CliRun run = runCli({QStringLiteral("thumb"), cameraFile(folder), out});
    EXPECT_EQ(run.status, 0);
    const QByteArray stored = cameraThumbnail(CameraShot());
    EXPECT_EQ(run.out, QByteArray::number(stored.size()) + "\n");
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stored);
}

TEST(Cli, InfoPrintsTheEighteenPanelLines)
{
    QTemporaryDir folder;
    const QString path = cameraFile(folder, zoomCompactShot());
    const CliRun run = runCli({QStringLiteral("info"), path, QStringLiteral("--table"),
                               QStringLiteral(TABILO_CAMERA_TABLE)});
    EXPECT_EQ(run.status, 0);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 19); // eighteen lines and the final line feed
    EXPECT_EQ(lines[4], "SHUTTER : 1/350 sec");
    EXPECT_EQ(QString::fromUtf8(lines[6]), QStringLiteral("f  = 70mm (35mm換算)"));
    EXPECT_EQ(QString::fromUtf8(lines[7]), QStringLiteral("×2.0"));
    const qint64 kilobytes = qRound(QFileInfo(path).size() / 1024.0);
    EXPECT_EQ(lines[14], "FILE SIZE  : " + QByteArray::number(kilobytes) + " KB");
}

TEST(Cli, InfoReadsTheCameraTableBesideTheProgram)
{
    CameraShot shot;
    shot.make = "NIKON";
    shot.model = "COOLPIX P6000";
    shot.focalLength = {240, 10};
    QTemporaryDir folder;
    const CliRun run = runCli({QStringLiteral("info"), cameraFile(folder, shot)});
    EXPECT_EQ(run.status, 0);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 19);
    // COOLPIX P6000 at 24 mm, its tele end: 4 x 28 mm.
    EXPECT_EQ(QString::fromUtf8(lines[6]), QStringLiteral("f  = 112mm (35mm換算)"));
    EXPECT_EQ(QString::fromUtf8(lines[7]), QStringLiteral("×4.0"));
}

TEST(Cli, UsageErrorsExitWithStatus2)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("missing.jpg"));
    const QString camera = cameraFile(folder);
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("rotate")},
        {QStringLiteral("exif")},
        {QStringLiteral("exif"), missing},
        {QStringLiteral("exif"), folder.path()},
        {QStringLiteral("thumb"), camera},
        {QStringLiteral("thumb"), camera, folder.filePath(QStringLiteral("no/such/folder/t.jpg"))},
        {QStringLiteral("jpeg"), missing},
        {QStringLiteral("info")},
        {QStringLiteral("info"), camera, QStringLiteral("--table")},
        {QStringLiteral("info"), camera, QStringLiteral("--table"), missing},
    };
    for (const QStringList &arguments : cases) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("tabilo-cli: ")) << arguments.join(u' ').toStdString();
    }
}

TEST(CliConvert, ConvertsAPlainJpegInPlace)
{
    QTemporaryDir folder;
    const QString path = writeFile(folder, QStringLiteral("plain.jpg"), plainPicture());
    const CliRun run = runCli({QStringLiteral("convert"), path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "converted: " + path.toUtf8() + "\n");
    EXPECT_EQ(cliErrors(run.err), "");

    const CliRun exif = runCli({QStringLiteral("exif"), path});
    EXPECT_TRUE(exif.out.contains("\"IsExif\":true,")) << exif.out.constData();
    EXPECT_TRUE(exif.out.contains("\"HaveThumb\":true,")) << exif.out.constData();
    const CliRun thumb =
        runCli({QStringLiteral("thumb"), path, folder.filePath(QStringLiteral("t.jpg"))});
    EXPECT_NE(thumb.out, "0\n");
    // No backup was asked for, and no work file is left beside the picture.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("plain.jpg"), QStringLiteral("t.jpg")}));
}

TEST(CliConvert, SkipsAnExifFileUntouched)
{
    QTemporaryDir folder;
    const QByteArray camera = cameraJpeg();
    const QString path = writeFile(folder, QStringLiteral("exif.jpg"), camera);
    const CliRun run = runCli({QStringLiteral("convert"), QStringLiteral("--backup"), path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "skipped: " + path.toUtf8() + " (already Exif)\n");
    EXPECT_EQ(readFile(path), camera);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList(QStringLiteral("exif.jpg")));
}

TEST(CliConvert, FailsAProgressiveFileWithItsReason)
{
    QTemporaryDir folder;
    const QByteArray progressive = progressivePicture();
    ASSERT_NE(progressive, plainPicture());
    const QString path = writeFile(folder, QStringLiteral("progressive.jpg"), progressive);
    const CliRun run = runCli({QStringLiteral("convert"), path});
    EXPECT_EQ(run.status, 1);
    const QByteArray reason =
        "make thum: " + path.toUtf8() + ": only baseline 8-bit JPEG pictures can be converted";
    EXPECT_EQ(run.out, "failed: " + path.toUtf8() + ": " + reason + "\n");
    EXPECT_EQ(cliErrors(run.err), "tabilo-cli: " + reason + "\n");
    EXPECT_EQ(readFile(path), progressive);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList(QStringLiteral("progressive.jpg")));
}

// One run over mixed files reports each in the order given and fails as a whole.
TEST(CliConvert, BackupKeepsTheOriginalAndEveryFileIsReported)
{
    QTemporaryDir folder;
    const QString plain = writeFile(folder, QStringLiteral("a.jpg"), plainPicture());
    const QString exif = writeFile(folder, QStringLiteral("b.jpg"), cameraJpeg());
    const QString progressive = writeFile(folder, QStringLiteral("c.jpg"), progressivePicture());
    const CliRun run =
        runCli({QStringLiteral("convert"), QStringLiteral("--quality"), QStringLiteral("70"),
                QStringLiteral("--backup"), plain, exif, progressive});
    EXPECT_EQ(run.status, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 4) << run.out.constData();
    EXPECT_EQ(lines[0], "converted: " + plain.toUtf8());
    EXPECT_EQ(lines[1], "skipped: " + exif.toUtf8() + " (already Exif)");
    EXPECT_TRUE(lines[2].startsWith("failed: " + progressive.toUtf8() + ": ")) << lines[2].data();
    EXPECT_EQ(lines[3], "");

    EXPECT_EQ(readFile(folder.filePath(QStringLiteral("a.bak"))), plainPicture());
    EXPECT_NE(readFile(plain), plainPicture());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("a.bak"), QStringLiteral("a.jpg"),
                           QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}));
}

TEST(CliConvert, UsageErrorsExitWithStatus2)
{
    QTemporaryDir folder;
    const QString path = writeFile(folder, QStringLiteral("plain.jpg"), plainPicture());
    const QByteArray usage =
        "tabilo-cli: usage: tabilo-cli convert [--quality 90|80|70] [--backup] FILE...\n";
    const QList<QStringList> cases = {
        {QStringLiteral("convert")},
        {QStringLiteral("convert"), QStringLiteral("--backup")},
        {QStringLiteral("convert"), QStringLiteral("--quality"), QStringLiteral("50"), path},
        {QStringLiteral("convert"), QStringLiteral("--quality"), QStringLiteral("high"), path},
        {QStringLiteral("convert"), path, QStringLiteral("--quality")},
        {QStringLiteral("convert"), QStringLiteral("--fast"), path},
    };
    for (const QStringList &arguments : cases) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.out, "") << arguments.join(u' ').toStdString();
        EXPECT_EQ(cliErrors(run.err), usage) << arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(readFile(path), plainPicture());
}

// A name without extension in a folder with a dot is backed up beside itself, and a file that
// fails reports the step that failed it, not an earlier attribute read.
TEST(CliConvert, BacksUpBesideTheFileAndReportsEachFilesOwnFailure)
{
    QTemporaryDir parent;
    ASSERT_TRUE(QDir(parent.path()).mkdir(QStringLiteral("pics.2003")));
    const QString folder = parent.filePath(QStringLiteral("pics.2003"));
    const QByteArray plain = writefixtures::plainJpeg(QSize(320, 240));
    const QString picture = folder + QStringLiteral("/IMG0001");
    ASSERT_TRUE(writefixtures::writeFile(picture, plain));
    const QString gone = folder + QStringLiteral("/gone.jpg");
    const CliRun run =
        runCli({QStringLiteral("convert"), QStringLiteral("--backup"), picture, gone});

    EXPECT_EQ(run.status, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 3) << run.out.constData();
    EXPECT_EQ(lines[0], "converted: " + picture.toUtf8());
    // The system's own words for ENOENT follow; they depend on the locale.
    EXPECT_TRUE(
        lines[1].startsWith("failed: " + gone.toUtf8() + ": make thum: " + gone.toUtf8() + ": "))
        << lines[1].constData();
    EXPECT_EQ(readFile(picture + QStringLiteral(".bak")), plain);
    EXPECT_EQ(QDir(parent.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              QStringList({QStringLiteral("IMG0001"), QStringLiteral("IMG0001.bak")}));
}

} // namespace
