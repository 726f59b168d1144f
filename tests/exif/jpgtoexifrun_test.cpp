#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "exif/exifdata.h"
#include "exif/jpgtoexifrun.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

struct FileReport {
    QString path;
    Jpg2ExifOutcome outcome;
    QString reason;
};

// Ports that record what the run reports. Attributes live in a map, so a
// test can make reading or writing them fail.
class RecordingRun
{
  public:
    explicit RecordingRun(const QString &workFolder) { options.workFolder = workFolder; }

    Jpg2ExifResult run(const QStringList &paths)
    {
        Jpg2ExifPorts ports;
        ports.readAttributes = [this](const QString &path, int &attributes) {
            if (beforeReadingAttributes)
                beforeReadingAttributes(path);
            if (!QFileInfo::exists(path))
                return StepError::numbered(53, path + QStringLiteral(": not found"));
            attributes = this->attributes.value(path, 0);
            return StepError::none();
        };
        ports.writeAttributes = [this](const QString &path, int attributes) {
            written.append({path, attributes});
            return StepError::none();
        };
        ports.log = [this](const QString &label, const StepError &) {
            logged.append(label);
            events.append(QStringLiteral("log ") + label);
        };
        ports.progress = [this](int handled, int total) {
            progress.append({handled, total});
            events.append(QStringLiteral("step %1").arg(handled));
        };
        ports.keepRunning = [this] { return --filesBeforeStop != 0; };
        ports.fileDone = [this](const QString &path, Jpg2ExifOutcome outcome,
                                const QString &reason) {
            reports.append({path, outcome, reason});
            events.append(
                QStringLiteral("done %1 %2").arg(QFileInfo(path).fileName()).arg(int(outcome)));
        };
        if (linkError != 0)
            ports.hardLink = [this](const QString &, const QString &link) {
                return StepError::fromErrno(linkError, link);
            };
        return runJpg2Exif(paths, options, ports);
    }

    Jpg2ExifOptions options;
    QMap<QString, int> attributes;
    std::function<void(const QString &)> beforeReadingAttributes;
    int filesBeforeStop = -1;
    int linkError = 0; // what making a hard link fails with; 0: the file system's own result
    QList<QPair<QString, int>> written;
    QStringList logged;
    QList<QPair<int, int>> progress;
    QList<FileReport> reports;
    QStringList events; // every report above, in the order the run made them
};

bool isExif(const QString &path)
{
    ExifData exif;
    exif.SetExif(path);
    return exif.IsExif();
}

// A picture too noisy to compress much: about 1.3 MB.
QByteArray noisyJpeg()
{
    QImage noise(1200, 900, QImage::Format_RGB32);
    auto *random = QRandomGenerator::global();
    for (int y = 0; y < noise.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(noise.scanLine(y));
        for (int x = 0; x < noise.width(); ++x)
            line[x] = random->generate() | 0xFF000000u;
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "JPG", 95);
    return data;
}

class ConversionRun : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pictures.isValid());
        ASSERT_TRUE(m_work.isValid());
        m_folder = m_pictures.path() + QLatin1Char('/');
    }

    QString picture(const QString &name, const QByteArray &data)
    {
        const QString path = m_folder + name;
        EXPECT_TRUE(writeFile(path, data));
        return path;
    }

    QStringList folderFiles() const
    {
        return QDir(m_pictures.path()).entryList(QDir::Files, QDir::Name);
    }

    RecordingRun recorder() const { return RecordingRun(m_work.path() + QLatin1Char('/')); }

    QTemporaryDir m_pictures;
    QTemporaryDir m_work;
    QString m_folder;
};

// A tmpfs of the given size and options, for full-disk and read-only cases.
// Skips the test where mounting is not permitted.
class SmallDisk
{
  public:
    explicit SmallDisk(const QString &options)
    {
        if (!m_dir.isValid())
            return;
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.toLatin1().constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    bool remountReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

TEST_F(ConversionRun, ConvertsPlainFilesInPlaceAndSkipsExifFiles)
{
    const QByteArray plain = plainJpeg(QSize(640, 480));
    const QByteArray camera = cameraJpeg();
    const QString a = picture(QStringLiteral("a.jpg"), plain);
    const QString b = picture(QStringLiteral("b.jpg"), camera);
    RecordingRun run = recorder();
    run.attributes[a] = 2;
    const Jpg2ExifResult result = run.run({a, b});

    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(result.end, Jpg2ExifEnd::Finished);
    EXPECT_EQ(folderFiles(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    EXPECT_TRUE(isExif(a));
    const qsizetype dqt = plain.indexOf("\xFF\xDB");
    EXPECT_TRUE(readFile(a).endsWith(plain.mid(dqt)));
    EXPECT_EQ(readFile(b), camera);
    EXPECT_EQ(run.written, (QList<QPair<QString, int>>{{a, 2}}));
    EXPECT_EQ(run.progress, (QList<QPair<int, int>>{{1, 2}, {2, 2}}));
    ASSERT_EQ(run.reports.size(), 2);
    EXPECT_EQ(run.reports[0].outcome, Jpg2ExifOutcome::Converted);
    EXPECT_EQ(run.reports[1].outcome, Jpg2ExifOutcome::AlreadyExif);
    EXPECT_TRUE(run.logged.isEmpty());
    EXPECT_TRUE(QDir(m_work.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ConversionRun, KeepsTheUnconvertedFileAsBackup)
{
    const QByteArray plain = plainJpeg(QSize(640, 480));
    const QString a = picture(QStringLiteral("IMG_0001.JPG"), plain);
    RecordingRun run = recorder();
    run.options.keepBackup = true;
    EXPECT_EQ(run.run({a}).converted, 1);
    EXPECT_EQ(folderFiles(),
              (QStringList{QStringLiteral("IMG_0001.JPG"), QStringLiteral("IMG_0001.bak")}));
    EXPECT_EQ(readFile(m_folder + QStringLiteral("IMG_0001.bak")), plain);
    EXPECT_TRUE(isExif(a));
}

TEST_F(ConversionRun, ATakenBackupNameEndsTheRunWithThePictureUnchanged)
{
    const QByteArray plain = plainJpeg(QSize(640, 480));
    const QString a = picture(QStringLiteral("IMG_0001.jpg"), plain);
    const QString b = picture(QStringLiteral("IMG_0002.jpg"), plain);
    picture(QStringLiteral("IMG_0001.bak"), "older backup");
    ASSERT_EQ(::chmod(QFile::encodeName(a).constData(), 0444), 0);
    RecordingRun run = recorder();
    run.options.keepBackup = true;
    const Jpg2ExifResult result = run.run({a, b});

    EXPECT_EQ(result.end, Jpg2ExifEnd::BackupExists);
    EXPECT_EQ(result.converted, 0);
    EXPECT_EQ(readFile(a), plain);
    EXPECT_EQ(readFile(b), plain);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("IMG_0001.bak")), QByteArray("older backup"));
    EXPECT_EQ(QFileInfo(a).permissions() & QFileDevice::WriteOwner, 0);
    EXPECT_EQ(folderFiles().size(), 3) << folderFiles().join(u' ').toStdString();
    EXPECT_TRUE(run.progress.isEmpty());
}

TEST_F(ConversionRun, AReadOnlyPictureStaysReadOnly)
{
    const QString a = picture(QStringLiteral("a.jpg"), plainJpeg(QSize(640, 480)));
    ASSERT_EQ(::chmod(QFile::encodeName(a).constData(), 0444), 0);
    RecordingRun run = recorder();
    run.attributes[a] = 1;
    EXPECT_EQ(run.run({a}).converted, 1);
    EXPECT_TRUE(isExif(a));
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(a).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(run.written, (QList<QPair<QString, int>>{{a, 1}}));
}

TEST_F(ConversionRun, StopsAfterTheFileInHand)
{
    const QByteArray plain = plainJpeg(QSize(320, 240));
    const QString a = picture(QStringLiteral("a.jpg"), plain);
    const QString b = picture(QStringLiteral("b.jpg"), plain);
    RecordingRun run = recorder();
    run.filesBeforeStop = 1;
    const Jpg2ExifResult result = run.run({a, b});
    EXPECT_EQ(result.end, Jpg2ExifEnd::Stopped);
    EXPECT_EQ(result.converted, 1);
    EXPECT_TRUE(isExif(a));
    EXPECT_EQ(readFile(b), plain);
}

TEST_F(ConversionRun, AVanishedFileIsLoggedAndTheRunGoesOn)
{
    const QString gone = m_folder + QStringLiteral("gone.jpg");
    const QString b = picture(QStringLiteral("b.jpg"), plainJpeg(QSize(320, 240)));
    RecordingRun run = recorder();
    const Jpg2ExifResult result = run.run({gone, b});
    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(run.logged,
              (QStringList{QStringLiteral("jpg2exifhenkan 0"), QStringLiteral("make thum")}));
    EXPECT_EQ(run.reports[0].outcome, Jpg2ExifOutcome::Failed);
    // The build's failure, not the attribute read's that came before it.
    EXPECT_TRUE(run.reports[0].reason.startsWith(QStringLiteral("make thum: ")))
        << run.reports[0].reason.toStdString();
    EXPECT_EQ(folderFiles(), QStringList{QStringLiteral("b.jpg")});
}

TEST_F(ConversionRun, AFileReplacedDuringTheRunIsLeftAsItIsNow)
{
    const QString a = picture(QStringLiteral("a.jpg"), plainJpeg(QSize(320, 240)));
    const QByteArray replacement = plainJpeg(QSize(640, 480), 70);
    RecordingRun run = recorder();
    run.beforeReadingAttributes = [&](const QString &path) {
        QFile::remove(path);
        writeFile(path, replacement);
    };
    EXPECT_EQ(run.run({a}).converted, 0);
    EXPECT_EQ(readFile(a), replacement);
    EXPECT_EQ(run.logged, QStringList{a + QStringLiteral("jpg2exifhenkan 5")});
    EXPECT_EQ(folderFiles(), QStringList{QStringLiteral("a.jpg")});
}

TEST_F(ConversionRun, AFullDiskLeavesThePictureWhole)
{
    SmallDisk disk(QStringLiteral("size=2m"));
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QByteArray noisy = noisyJpeg();
    ASSERT_GT(noisy.size(), 1024 * 1024);
    const QString a = disk.folder() + QStringLiteral("a.jpg");
    ASSERT_TRUE(writeFile(a, noisy));
    RecordingRun run = recorder();
    run.options.keepBackup = true;
    const Jpg2ExifResult result = run.run({a});
    EXPECT_EQ(result.converted, 0);
    EXPECT_EQ(readFile(a), noisy);
    EXPECT_EQ(run.logged, QStringList{a + QStringLiteral("jpg2exifhenkan 5")});
    EXPECT_EQ(QDir(disk.folder()).entryList(QDir::Files), QStringList{QStringLiteral("a.jpg")});
}

TEST_F(ConversionRun, AReadOnlyFolderEndsTheRunWithNothingChanged)
{
    SmallDisk disk(QStringLiteral("size=4m"));
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QByteArray plain = plainJpeg(QSize(320, 240));
    const QString a = disk.folder() + QStringLiteral("a.jpg");
    const QString b = disk.folder() + QStringLiteral("b.jpg");
    ASSERT_TRUE(writeFile(a, plain));
    ASSERT_TRUE(writeFile(b, plain));
    ASSERT_TRUE(disk.remountReadOnly());
    RecordingRun run = recorder();
    const Jpg2ExifResult result = run.run({a, b});
    EXPECT_EQ(result.end, Jpg2ExifEnd::WriteDenied);
    EXPECT_EQ(result.converted, 0);
    EXPECT_EQ(readFile(a), plain);
    EXPECT_EQ(readFile(b), plain);
    EXPECT_EQ(run.reports.size(), 1);
}

TEST(Jpg2ExifBackupPath, ReplacesTheLastExtension)
{
    EXPECT_EQ(jpg2ExifBackupPath(QStringLiteral("/p/IMG_0001.jpg")),
              QStringLiteral("/p/IMG_0001.bak"));
    EXPECT_EQ(jpg2ExifBackupPath(QStringLiteral("/p/a.b.JPG")), QStringLiteral("/p/a.b.bak"));
}

// File systems without hard links (FAT, FUSE mounts such as sshfs or MTP) get the backup by a
// rename; any other link failure leaves the picture as it was.
TEST_F(ConversionRun, ABackupWithoutHardLinksIsMadeByARename)
{
    const QByteArray plain = plainJpeg(QSize(320, 240));
    const struct {
        int linkError;
        bool converted;
    } cases[] = {{ENOSYS, true}, {EPERM, true}, {EOPNOTSUPP, true}, {EMLINK, true}, {EIO, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::strerror(c.linkError));
        const QString a = picture(QStringLiteral("a.jpg"), plain);
        const QString backup = m_folder + QStringLiteral("a.bak");
        RecordingRun run = recorder();
        run.options.keepBackup = true;
        run.linkError = c.linkError;
        EXPECT_EQ(run.run({a}).converted, c.converted ? 1 : 0);
        EXPECT_EQ(isExif(a), c.converted);
        if (c.converted) {
            EXPECT_EQ(readFile(backup), plain);
        } else {
            EXPECT_EQ(readFile(a), plain);
            EXPECT_EQ(run.logged, QStringList{QStringLiteral("jpg2exifhenkan 1")});
        }
        EXPECT_EQ(folderFiles().size(), c.converted ? 2 : 1)
            << folderFiles().join(u' ').toStdString();
        QFile::remove(a);
        QFile::remove(backup);
    }
}

// A link in the shown folder stays a link; the picture it points to is converted and backed
// up beside itself.
TEST_F(ConversionRun, ASymbolicLinkStaysALinkToTheConvertedPicture)
{
    const QByteArray plain = plainJpeg(QSize(320, 240));
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("IMG_0001.jpg"));
    ASSERT_TRUE(writeFile(target, plain));
    const QString link = m_folder + QStringLiteral("IMG_0001.jpg");
    ASSERT_TRUE(QFile::link(target, link));
    RecordingRun run = recorder();
    run.options.keepBackup = true;
    EXPECT_EQ(run.run({link}).converted, 1);

    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_TRUE(isExif(target));
    EXPECT_EQ(readFile(elsewhere.filePath(QStringLiteral("IMG_0001.bak"))), plain);
    EXPECT_EQ(folderFiles(), QStringList{QStringLiteral("IMG_0001.jpg")});
    EXPECT_EQ(run.reports[0].path, link);
    EXPECT_EQ(run.written, (QList<QPair<QString, int>>{{link, 0}}));
}

TEST(Jpg2ExifBackupPath, StaysBesideANameWithoutExtension)
{
    EXPECT_EQ(jpg2ExifBackupPath(QStringLiteral("/p/pics.2003/IMG0001")),
              QStringLiteral("/p/pics.2003/IMG0001.bak"));
    EXPECT_EQ(jpg2ExifBackupPath(QStringLiteral("/p/.private")), QStringLiteral("/p/.private.bak"));
    EXPECT_EQ(jpg2ExifBackupPath(QStringLiteral("IMG0001")), QStringLiteral("IMG0001.bak"));
}

// With several workers building ahead, every report still comes at its file's turn: a failure
// built ahead, a file listed twice (found converted at its second turn), each progress step.
TEST_F(ConversionRun, SeveralWorkersReportEachFileAtItsTurn)
{
    const QByteArray plain = plainJpeg(QSize(320, 240));
    const QString a = picture(QStringLiteral("a.jpg"), plain);
    const QString cut = picture(QStringLiteral("cut.jpg"), plain.left(plain.size() / 2));
    const QString b = picture(QStringLiteral("b.jpg"), plain);
    const QString c = picture(QStringLiteral("c.jpg"), plain);
    RecordingRun run = recorder();
    run.options.workers = 4;
    const Jpg2ExifResult result = run.run({a, cut, b, a, c});

    EXPECT_EQ(result.converted, 3);
    const QStringList expected{QStringLiteral("done a.jpg 0"),  QStringLiteral("step 1"),
                               QStringLiteral("log make thum"), QStringLiteral("done cut.jpg 2"),
                               QStringLiteral("step 2"),        QStringLiteral("done b.jpg 0"),
                               QStringLiteral("step 3"),        QStringLiteral("done a.jpg 1"),
                               QStringLiteral("step 4"),        QStringLiteral("done c.jpg 0"),
                               QStringLiteral("step 5")};
    EXPECT_EQ(run.events, expected);
    EXPECT_TRUE(QDir(m_work.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ConversionRun, AStopThrowsAwayWhatWasBuiltAheadAndLeavesTheRestUntouched)
{
    const QByteArray plain = plainJpeg(QSize(320, 240));
    QStringList paths;
    for (int i = 0; i < 8; ++i)
        paths.append(picture(QStringLiteral("IMG_%1.jpg").arg(i), plain));
    RecordingRun run = recorder();
    run.options.workers = 3;
    run.filesBeforeStop = 2;
    const Jpg2ExifResult result = run.run(paths);

    EXPECT_EQ(result.end, Jpg2ExifEnd::Stopped);
    EXPECT_EQ(result.converted, 2);
    EXPECT_EQ(run.progress.size(), 2);
    for (qsizetype i = 2; i < paths.size(); ++i)
        EXPECT_EQ(readFile(paths[i]), plain) << i;
    EXPECT_EQ(folderFiles().size(), paths.size());
    EXPECT_TRUE(QDir(m_work.path()).entryList(QDir::Files).isEmpty());
}
