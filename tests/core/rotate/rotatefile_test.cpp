#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include "core/rotate/backupfolder.h"
#include "core/rotate/rotatebatch.h"
#include "exif/exifdata.h"
#include "exif/exiftags.h"
#include "exif/exifthumb.h"
#include "exif/jpegdecode.h"
#include "exif/transplantfields.h"
#include "spinwell/spinwell.h"
#include "tests/support/camerafixture.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/qtprinters.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

constexpr int kReadOnly = 1, kHidden = 2;

// The real bridge, loaded by path; it finds the engine beside itself.
SpinwellVelmorRot bridge()
{
    static void *handle = ::dlopen(TABILO_SPINWELL, RTLD_NOW | RTLD_LOCAL);
    return handle ? reinterpret_cast<SpinwellVelmorRot>(::dlsym(handle, "velmorRot")) : nullptr;
}

// A camera-like picture: Exif with a date (none when null), pixel sizes (unless withoutSizes)
// and a thumbnail.
QByteArray cameraPicture(const char *date = "2004:05:06 07:08:09", QSize frame = QSize(64, 48),
                         bool withoutSizes = false)
{
    TiffBuilder builder;
    builder.ascii(TiffBuilder::Ifd0, ExifTag::Make, "Maker");
    if (date)
        builder.ascii(TiffBuilder::ExifIfd, ExifTag::DateTimeOriginal, date);
    if (!withoutSizes)
        builder.longValue(TiffBuilder::ExifIfd, ExifTag::PixelXDimension, frame.width())
            .longValue(TiffBuilder::ExifIfd, ExifTag::PixelYDimension, frame.height());
    const QByteArray header = builder.thumbnail(plainJpeg(QSize(16, 12))).jpeg();
    return header.chopped(2) + plainJpeg(frame).mid(2);
}

QSize exifSize(const QString &path)
{
    ExifData exif;
    exif.SetExif(path);
    return QSize(exif.SizeExifX(), exif.SizeExifY());
}

class Rotation : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_NE(bridge(), nullptr) << ::dlerror();
        m_ports.velmorRot = [](const QString &source, const QString &destination, qint32 code) {
            return bridge()(QFile::encodeName(source).constData(),
                            QFile::encodeName(destination).constData(), code);
        };
        m_ports.confirmOverwrite = [this](const QString &) { return m_answer; };
        m_ports.stepProgress = [this] { ++m_steps; };
        m_ports.readAttributes = [this](const QString &path, int &attributes) {
            attributes = (QFileInfo(path).isWritable() ? 0 : kReadOnly) |
                         (m_hidden.contains(path) ? kHidden : 0);
            return StepError::none();
        };
        m_ports.writeAttributes = [this](const QString &path, int attributes) {
            if (attributes & kHidden)
                m_hidden.append(path);
            return StepError::none();
        };
        m_settings.backupFolder =
            makeBackupFolder(m_folder.path(), QStringLiteral("Original")).path;
    }

    QString picture(const QString &name, const QByteArray &bytes = cameraPicture())
    {
        writeFile(path(name), bytes);
        return path(name);
    }
    QString path(const QString &name) const { return m_folder.filePath(name); }
    QString backup(const QString &name) const { return path(QStringLiteral("Original/") + name); }

    RotateFileResult rotate(const QString &file, qint32 code)
    {
        m_steps = 0;
        m_settings.code = code;
        return rotateOneFile(file, m_settings, m_ports);
    }

    // The folder holds exactly these names (hidden work files included).
    void expectFolder(const QStringList &names) const
    {
        EXPECT_EQ(
            QDir(m_folder.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            names);
    }

    QTemporaryDir m_folder;
    RotateSettings m_settings;
    RotatePorts m_ports;
    bool m_answer = true;
    int m_steps = 0;
    QStringList m_hidden;
};

TEST_F(Rotation, TurnsWithBackupAndTurnsBackToTheOriginal)
{
    const QString file = picture(QStringLiteral("a.jpg"));
    const QByteArray original = readFile(file);
    const RotateFileResult result = rotate(file, 1);
    ASSERT_EQ(result.outcome, RotateOutcome::Turned) << result.reason.toStdString();
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(m_steps, 10);
    EXPECT_EQ(exifSize(file), QSize(48, 64));
    EXPECT_EQ(decodeJpeg(readFile(file)).fullSize, QSize(48, 64));
    QByteArray thumb;
    ASSERT_NE(ExifThumb().GetThumb(file, thumb), 0);
    EXPECT_EQ(decodeJpeg(thumb).fullSize, QSize(160, 120));
    EXPECT_EQ(readFile(backup(QStringLiteral("a.jpg"))), original);
    expectFolder({QStringLiteral("Original"), QStringLiteral("a.jpg")});

    // The second turn keeps the backup of the first: it is the same picture.
    ASSERT_EQ(rotate(file, 3).outcome, RotateOutcome::Turned);
    EXPECT_EQ(readFile(backup(QStringLiteral("a.jpg"))), original);
    EXPECT_EQ(QDir(path(QStringLiteral("Original"))).count(), 3u);
    EXPECT_EQ(decodeJpeg(readFile(file)).image, decodeJpeg(original).image);
    EXPECT_EQ(exifSize(file), QSize(64, 48));
}

// A backup is kept as the same picture's only when both have a real date and real pixel sizes
// and they agree; any other picture under that name stays, and this one takes a numbered name.
TEST_F(Rotation, KeepsAnotherPicturesBackupAndTheUsersOwnFiles)
{
    const struct {
        const char *what;
        QByteArray picture, other;
    } cases[] = {
        {"another date", cameraPicture(), cameraPicture("1999:01:01 00:00:00")},
        {"both without a date", cameraPicture(nullptr), cameraPicture(nullptr) + "another"},
        {"both with a clock never set", cameraPicture("0000:00:00 00:00:00"),
         cameraPicture("0000:00:00 00:00:00") + "another"},
        {"both without sizes", cameraPicture("2004:05:06 07:08:09", QSize(64, 48), true),
         cameraPicture("2004:05:06 07:08:09", QSize(64, 48), true) + "another"},
    };
    writeFile(path(QStringLiteral("a_with.jpg")), "the user's own");
    writeFile(path(QStringLiteral("a_without.jpg")), "the user's own too");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = picture(QStringLiteral("a.jpg"), c.picture);
        writeFile(backup(QStringLiteral("a.jpg")), c.other);
        ASSERT_EQ(rotate(file, 2).outcome, RotateOutcome::Turned);
        EXPECT_EQ(readFile(backup(QStringLiteral("a.jpg"))), c.other);
        EXPECT_EQ(readFile(backup(QStringLiteral("a (2).jpg"))), c.picture);
        QFile::remove(backup(QStringLiteral("a (2).jpg")));
    }
    EXPECT_EQ(readFile(path(QStringLiteral("a_with.jpg"))), "the user's own");
    EXPECT_EQ(readFile(path(QStringLiteral("a_without.jpg"))), "the user's own too");
}

TEST_F(Rotation, AReadOnlyHiddenPictureStaysSoAndSoDoesItsBackup)
{
    const QString file = picture(QStringLiteral("a.jpg"));
    ::chmod(QFile::encodeName(file).constData(), 0444);
    m_hidden.append(file);
    ASSERT_EQ(rotate(file, 1).outcome, RotateOutcome::Turned);
    for (const QString &turnedOrKept : {file, backup(QStringLiteral("a.jpg"))}) {
        struct stat info {
        };
        ::stat(QFile::encodeName(turnedOrKept).constData(), &info);
        EXPECT_EQ(info.st_mode & 0777, 0444u);
    }
    EXPECT_TRUE(m_hidden.contains(backup(QStringLiteral("a.jpg"))));
}

TEST_F(Rotation, WithoutBackupAsksAndLeavesThePictureWhenRefused)
{
    m_settings.keepBackup = false;
    const QString file = picture(QStringLiteral("a.jpg"));
    const QByteArray original = readFile(file);
    m_answer = false;
    const RotateFileResult refused = rotate(file, 1);
    EXPECT_EQ(refused.outcome, RotateOutcome::Declined);
    EXPECT_EQ(refused.code, RotateDeclined);
    EXPECT_EQ(readFile(file), original);
    m_answer = true;
    ASSERT_EQ(rotate(file, 1).outcome, RotateOutcome::Turned);
    EXPECT_EQ(exifSize(file), QSize(48, 64));
    expectFolder({QStringLiteral("Original"), QStringLiteral("a.jpg")});
}

TEST_F(Rotation, AFailedStepLeavesThePictureAndNoWorkFile)
{
    const QString file = picture(QStringLiteral("a.jpg"));
    const QByteArray original = readFile(file);
    const auto engineWrites = [](const QByteArray &bytes) {
        return [bytes](const QString &, const QString &destination, qint32) {
            return writeFile(destination, bytes) ? 0 : 108;
        };
    };
    const auto engineFails = [](qint32 result, int error) {
        return [result, error](const QString &, const QString &, qint32) {
            errno = error;
            return result;
        };
    };
    const struct {
        const char *what;
        std::function<qint32(const QString &, const QString &, qint32)> velmorRot;
        qint32 code;
        QString reason;
    } cases[] = {
        {"engine fails", engineFails(107, 0), 107,
         QStringLiteral("回転ｴﾝｼﾞﾝが画像を回転できません")},
        {"disk full", engineFails(108, ENOSPC), 108,
         QStringLiteral("回転した画像を書き込めません: ") +
             QString::fromLocal8Bit(strerror(ENOSPC))},
        {"engine output is no picture", engineWrites("garbage"), 110,
         QStringLiteral("Exifﾍｯﾀﾞｰを修復できません (110)")},
        {"turned picture cannot be decoded", engineWrites(original.left(original.size() / 2)), 112,
         QStringLiteral("Exifﾍｯﾀﾞｰを修復できません (112)")},
    };
    for (const auto &c : cases) {
        m_ports.velmorRot = c.velmorRot;
        const RotateFileResult result = rotate(file, 1);
        EXPECT_EQ(result.outcome, RotateOutcome::Failed) << c.what;
        EXPECT_EQ(result.code, c.code) << c.what;
        EXPECT_EQ(result.reason, c.reason) << c.what;
        EXPECT_EQ(readFile(file), original) << c.what;
        expectFolder({QStringLiteral("Original"), QStringLiteral("a.jpg")});
    }
    EXPECT_EQ(rotate(path(QStringLiteral("gone.jpg")), 1).outcome, RotateOutcome::Missing);
}

// A pipe, a folder or a symbolic link named like a picture: the bridge refuses to read a pipe
// or write into one without waiting for the other end, and the rotation leaves each as it is
// and puts nothing in the backup folder, however often it is asked.
TEST_F(Rotation, RefusesWhatIsNoRegularFileWithoutWaiting)
{
    const QString target = picture(QStringLiteral("target.jpg"));
    const QString out = path(QStringLiteral("out.jpg"));
    const auto fifo = [](const QString &at) { ::mkfifo(QFile::encodeName(at).constData(), 0644); };
    const auto folder = [](const QString &at) { QDir().mkdir(at); };
    const auto link = [](const QString &at) { QFile::link(QStringLiteral("target.jpg"), at); };
    const struct {
        const char *name;
        std::function<void(const QString &)> make;
        qint32 asSource, asDestination;
        QString reason;
    } cases[] = {
        {"pipe.jpg", fifo, SpinwellSourceUnread, SpinwellDestUnopened,
         QStringLiteral("通常のﾌｧｲﾙではないため回転できません")},
        {"folder.jpg", folder, SpinwellSourceUnread, SpinwellDestUnopened,
         QStringLiteral("通常のﾌｧｲﾙではないため回転できません")},
        {"link.jpg", link, SpinwellDone, SpinwellDone,
         QStringLiteral("ｼﾝﾎﾞﾘｯｸﾘﾝｸは回転できません")},
    };
    // After a while holds the pipe's reading end open and keeps opening its writing end, so
    // that a bridge blocked on it returns late instead of never.
    std::atomic<bool> finished = false;
    std::thread unblocker([&] {
        const QByteArray pipe = QFile::encodeName(path(QStringLiteral("pipe.jpg")));
        for (int i = 0; i < 300 && !finished; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const int reader = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK);
        while (!finished) {
            ::close(::open(pipe.constData(), O_WRONLY | O_NONBLOCK));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::close(reader);
    });
    QElapsedTimer clock;
    clock.start();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromLatin1(c.name));
        c.make(file);
        EXPECT_EQ(m_ports.velmorRot(file, out, 1), c.asSource);
        EXPECT_EQ(m_ports.velmorRot(target, file, 1), c.asDestination);
        QFile::remove(out);
        if (c.asDestination == SpinwellDone) // it turned the link's target: put it back
            writeFile(target, cameraPicture());
        for (int attempt = 0; attempt < 2; ++attempt) {
            const RotateFileResult result = rotate(file, 1);
            EXPECT_EQ(result.outcome, RotateOutcome::Failed);
            EXPECT_EQ(result.code, RotateRefused);
            EXPECT_EQ(result.reason, c.reason);
        }
        EXPECT_TRUE(QDir(backup(QString())).isEmpty());
    }
    finished = true;
    unblocker.join();
    EXPECT_LT(clock.elapsed(), 2000) << "nothing waited for a pipe's other end";
    struct stat pipe {
    };
    ::lstat(QFile::encodeName(path(QStringLiteral("pipe.jpg"))).constData(), &pipe);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("link.jpg"))).isSymLink());
    EXPECT_EQ(readFile(target), cameraPicture());
    expectFolder({QStringLiteral("Original"), QStringLiteral("folder.jpg"),
                  QStringLiteral("link.jpg"), QStringLiteral("target.jpg")});
}

// The work files of a run that was killed are removed by the next one; those of a live process
// and every other name stay.
TEST_F(Rotation, RemovesTheWorkFilesOfAKilledRun)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const QString dead = QString::number(child), own = QString::number(::getpid());
    const QStringList stale = {
        QStringLiteral(".a.jpg.turn-%1-3-with").arg(dead),
        QStringLiteral(".b.jpg.turn-%1-4-without").arg(dead),
        QStringLiteral("..a.jpg.turn-%1-4-without.spinwell-%1-0").arg(dead),
    };
    const QStringList kept = {
        QStringLiteral(".a.jpg.turn-%1-9999-with").arg(own),
        QStringLiteral(".a.jpg.turn-1-2-with"),
        QStringLiteral(".a.jpg.turn-%1-3-withx").arg(dead),
        QStringLiteral("a.jpg.turn-%1-3-with").arg(dead),
    };
    for (const QString &name : stale + kept)
        writeFile(path(name), "work");
    ASSERT_EQ(rotate(picture(QStringLiteral("a.jpg")), 1).outcome, RotateOutcome::Turned);
    QStringList expected = kept + QStringList{QStringLiteral("Original"), QStringLiteral("a.jpg")};
    expected.sort();
    expectFolder(expected);
}

TEST_F(Rotation, AReadOnlyFolderFailsBeforeTheEngineRuns)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString file = picture(QStringLiteral("a.jpg"));
    ::chmod(QFile::encodeName(m_folder.path()).constData(), 0555);
    const RotateFileResult result = rotate(file, 1);
    ::chmod(QFile::encodeName(m_folder.path()).constData(), 0755);
    EXPECT_EQ(result.code, SpinwellDestUnopened);
    EXPECT_EQ(readFile(file), cameraPicture());
}

TEST_F(Rotation, TurnsAPictureWithoutExifAsTheEngineWroteIt)
{
    const QString file = picture(QStringLiteral("plain.jpg"), plainJpeg(QSize(64, 48)));
    ASSERT_EQ(rotate(file, 3).outcome, RotateOutcome::Turned);
    EXPECT_EQ(decodeJpeg(readFile(file)).fullSize, QSize(48, 64));
}

TEST_F(Rotation, ABatchStopsBeforeThePictureItWasStoppedAtAndThrowsAwayWhatWasTurnedAhead)
{
    QStringList files;
    for (int i = 0; i < 10; ++i)
        files.append(picture(QStringLiteral("p%1.jpg").arg(i)));
    QString label;
    m_settings.code = 1;
    m_settings.workers = 3;
    const RotateBatchPorts batchPorts{[&label](int number, int total) {
                                          label = QStringLiteral("%1 / %2").arg(number).arg(total);
                                      },
                                      [&label] { return label != QStringLiteral("4 / 12"); },
                                      [](const QString &, const RotateFileResult &) {},
                                      {}};
    const RotateBatchSummary summary = rotateBatch(files, 12, m_settings, m_ports, batchPorts);
    EXPECT_EQ(label, QStringLiteral("4 / 12"));
    EXPECT_EQ(summary.turned, 3);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(exifSize(files[2]), QSize(48, 64));
    for (qsizetype i = 3; i < files.size(); ++i)
        EXPECT_EQ(readFile(files[i]), cameraPicture()) << i;
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden).size(), files.size());
}

// With several workers turning ahead, every report comes at its picture's turn, with that
// picture's own steps: a failure turned ahead, and a picture listed twice, turned again from
// its first turn's result.
TEST_F(Rotation, SeveralWorkersReportEachPictureAtItsTurn)
{
    const QByteArray plain = plainJpeg(QSize(64, 48));
    const QString a = picture(QStringLiteral("a.jpg"));
    const QString cut = picture(QStringLiteral("cut.jpg"), plain.left(plain.size() / 2));
    const QString b = picture(QStringLiteral("b.jpg"));
    QStringList events;
    m_settings.code = 1;
    m_settings.workers = 4;
    const RotateBatchPorts batchPorts{[&](int number, int) {
                                          m_steps = 0;
                                          events.append(QString::number(number));
                                      },
                                      [] { return true; },
                                      [&](const QString &file, const RotateFileResult &result) {
                                          events.append(QStringLiteral("%1 %2 %3 steps")
                                                            .arg(QFileInfo(file).fileName())
                                                            .arg(result.code)
                                                            .arg(m_steps));
                                      },
                                      {}};
    const RotateBatchSummary summary =
        rotateBatch({a, cut, b, a}, 4, m_settings, m_ports, batchPorts);

    const QStringList expected{QStringLiteral("1"), QStringLiteral("a.jpg 0 10 steps"),
                               QStringLiteral("2"), QStringLiteral("cut.jpg 107 1 steps"),
                               QStringLiteral("3"), QStringLiteral("b.jpg 0 10 steps"),
                               QStringLiteral("4"), QStringLiteral("a.jpg 0 10 steps")};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(summary.turned, 3);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(exifSize(a), QSize(64, 48)) << "turned twice";
    EXPECT_EQ(decodeJpeg(readFile(a)).fullSize, QSize(64, 48));
    EXPECT_NE(readFile(a), cameraPicture());
    EXPECT_EQ(readFile(cut), plain.left(plain.size() / 2));
    expectFolder({QStringLiteral("Original"), QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                  QStringLiteral("cut.jpg")});
}

// An ICC profile and XMP in front of the Exif segment stay there, and the header behind them
// gets the turned sizes and thumbnail as it would standing first.
TEST_F(Rotation, ExifBehindOtherSegmentsGetsItsNewThumbnail)
{
    const QByteArray inFront = leadingsegment::iccProfile() + leadingsegment::xmp();
    const QString file = picture(QStringLiteral("a.jpg"),
                                 cameraPicture().left(2) + inFront + cameraPicture().mid(2));
    ASSERT_EQ(rotate(file, 1).outcome, RotateOutcome::Turned);
    const QByteArray turned = readFile(file);
    EXPECT_TRUE(turned.mid(2).startsWith(inFront));
    EXPECT_EQ(exifSize(file), QSize(48, 64));
    ExifThumb reader;
    QByteArray thumb;
    ASSERT_NE(reader.GetThumb(file, thumb), 0);
    EXPECT_EQ(decodeJpeg(thumb).fullSize, QSize(160, 120)) << "drawn anew, not the old 16 x 12";
}

// Every byte of a real camera's header (and of a JFIF segment in front of it) survives a
// turn, except the APP1 length, the thumbnail's fields and the pixel sizes; so do its
// shooting data as the panel reads them.
TEST_F(Rotation, RealCameraFilesKeepTheirWholeHeader)
{
    const QString anyCamera = cameraFixture("canon-ixus.jpg");
    if (anyCamera.isEmpty())
        return;
    const QDir cameras = QFileInfo(anyCamera).dir();
    for (const QString &name : cameras.entryList({QStringLiteral("*.jpg")})) {
        SCOPED_TRACE(name.toStdString());
        const QString file = picture(name, readFile(cameras.filePath(name)));
        const QByteArray original = readFile(file);
        const QSize frame = decodeJpeg(original).fullSize;
        ASSERT_EQ(rotate(file, 1).outcome, RotateOutcome::Turned);
        const QByteArray turned = readFile(file);
        const std::optional<TransplantFields> before = findTransplantFields(original);
        const std::optional<TransplantFields> after = findTransplantFields(turned);
        ASSERT_TRUE(before && after);
        // In front of the old thumbnail.
        QByteArray expected = original.left(before->thumbStart());
        QByteArray kept = turned.left(before->thumbStart());
        for (const ValueField *field :
             {&before->thumbOffset, &before->thumbLength, &before->pixelX, &before->pixelY})
            kept.replace(field->position, 4, expected.mid(field->position, 4));
        const qint64 lengthField = before->app1Start + 2;
        kept.replace(lengthField, 2, expected.mid(lengthField, 2));
        EXPECT_EQ(kept.size() == expected.size() && kept == expected, true);
        // Behind it, unless it is padding that the new thumbnail takes the place of.
        const QByteArray behind =
            original.mid(before->thumbEnd(), before->app1End - before->thumbEnd());
        if (behind.count('\0') + behind.count('\xFF') != behind.size()) {
            EXPECT_EQ(turned.mid(before->thumbEnd(), behind.size()) == behind, true);
        }

        ExifData was, is;
        was.SetExif(picture(QStringLiteral("was-") + name, original));
        is.SetExif(file);
        EXPECT_EQ(QSize(is.SizeExifX(), is.SizeExifY()), frame.transposed());
        for (const auto read : {&ExifData::MakerExif, &ExifData::ModelExif, &ExifData::DateExif,
                                &ExifData::ShutterSpeed, &ExifData::FlashExif, &ExifData::IIMM})
            EXPECT_EQ((is.*read)(), (was.*read)());
        EXPECT_EQ(is.Fnumber(), was.Fnumber());
        EXPECT_EQ(is.ISOspeedRate(), was.ISOspeedRate());
    }
}

TEST(BackupFolder, TakesOnlyAPlainNameForARealFolder)
{
    QTemporaryDir folder;
    for (const char *bad : {"", ".", "..", "a/b", "a?", "*", "x|y"})
        EXPECT_EQ(makeBackupFolder(folder.path(), QString::fromLatin1(bad)).state,
                  BackupFolderState::BadName)
            << bad;
    writeFile(folder.filePath(QStringLiteral("file")), "a file");
    EXPECT_EQ(makeBackupFolder(folder.path(), QStringLiteral("file")).state,
              BackupFolderState::NotMade);
    QFile::link(folder.path(), folder.filePath(QStringLiteral("link")));
    EXPECT_EQ(makeBackupFolder(folder.path(), QStringLiteral("link")).state,
              BackupFolderState::NotMade);
    const BackupFolder made = makeBackupFolder(folder.path(), QStringLiteral("Original"));
    EXPECT_EQ(made.state, BackupFolderState::Ready);
    EXPECT_EQ(made.path, folder.filePath(QStringLiteral("Original")));
    EXPECT_EQ(makeBackupFolder(folder.path(), QStringLiteral("Original")).state,
              BackupFolderState::Ready)
        << "an existing folder is used";
}

} // namespace
