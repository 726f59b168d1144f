#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
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

// A camera-like picture of 64 x 48 pixels: Exif with a date, pixel sizes and a thumbnail.
QByteArray cameraPicture(const char *date = "2004:05:06 07:08:09")
{
    const QByteArray header = TiffBuilder()
                                  .ascii(TiffBuilder::Ifd0, ExifTag::Make, "Maker")
                                  .ascii(TiffBuilder::ExifIfd, ExifTag::DateTimeOriginal, date)
                                  .longValue(TiffBuilder::ExifIfd, ExifTag::PixelXDimension, 64)
                                  .longValue(TiffBuilder::ExifIfd, ExifTag::PixelYDimension, 48)
                                  .thumbnail(plainJpeg(QSize(16, 12)))
                                  .jpeg();
    return header.chopped(2) + plainJpeg(QSize(64, 48)).mid(2);
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

TEST_F(Rotation, KeepsAnotherPicturesBackupAndTheUsersOwnFiles)
{
    const QString file = picture(QStringLiteral("a.jpg"));
    const QByteArray original = readFile(file);
    const QByteArray other = cameraPicture("1999:01:01 00:00:00");
    writeFile(backup(QStringLiteral("a.jpg")), other);
    writeFile(path(QStringLiteral("a_with.jpg")), "the user's own");
    writeFile(path(QStringLiteral("a_without.jpg")), "the user's own too");
    ASSERT_EQ(rotate(file, 2).outcome, RotateOutcome::Turned);
    EXPECT_EQ(readFile(backup(QStringLiteral("a.jpg"))), other);
    EXPECT_EQ(readFile(backup(QStringLiteral("a (2).jpg"))), original);
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
    const struct {
        const char *what;
        std::function<qint32(const QString &, const QString &, qint32)> velmorRot;
        qint32 code;
    } cases[] = {
        {"engine fails", [](const QString &, const QString &, qint32) { return 107; }, 107},
        {"engine output is no picture", engineWrites("garbage"), 110},
        {"turned picture cannot be decoded", engineWrites(original.left(original.size() / 2)), 112},
    };
    for (const auto &c : cases) {
        m_ports.velmorRot = c.velmorRot;
        const RotateFileResult result = rotate(file, 1);
        EXPECT_EQ(result.outcome, RotateOutcome::Failed) << c.what;
        EXPECT_EQ(result.code, c.code) << c.what;
        EXPECT_FALSE(result.reason.isEmpty()) << c.what;
        EXPECT_EQ(readFile(file), original) << c.what;
        expectFolder({QStringLiteral("Original"), QStringLiteral("a.jpg")});
    }
    EXPECT_EQ(rotate(path(QStringLiteral("gone.jpg")), 1).outcome, RotateOutcome::Missing);
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
        if (behind.count('\0') + behind.count('\xFF') != behind.size())
            EXPECT_EQ(turned.mid(before->thumbEnd(), behind.size()) == behind, true);

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
