#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/fileops/filetransfer.h"
#include "platform/fileattributes.h"
#include "platform/jpg2exifattributes.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/qtprinters.h"

namespace
{

const QString kBackups = QStringLiteral("Original");

// A source and a destination folder (under `destinationRoot`), each with its backup folder.
struct Folders {
    explicit Folders(const QString &destinationRoot = QDir::tempPath())
        : destinationDir(destinationRoot + QStringLiteral("/transfer-XXXXXX"))
    {
        for (const QString &folder : {source(), destination()})
            QDir().mkpath(folder + u'/' + kBackups);
    }
    QString source(const QString &name = {}) const { return inside(sourceDir, name); }
    QString destination(const QString &name = {}) const { return inside(destinationDir, name); }
    static QString inside(const QTemporaryDir &dir, const QString &name)
    {
        return name.isEmpty() ? dir.path() : dir.filePath(name);
    }

    QTemporaryDir sourceDir;
    QTemporaryDir destinationDir;
};

void write(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
    out.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Runs a transfer with the platform's attribute ports, answering clashes from `answers` and
// stopping before picture `stopBefore` (0: never).
struct RecordedRun {
    QList<OverwriteAnswer> answers;
    int stopBefore = 0;
    QStringList asked;
    QStringList failures;
    QStringList descriptions;
    // The destination's ".hidden" each time a move lets go of a file's source line: what a run
    // killed just after the file arrived would leave.
    QList<QByteArray> listsOnArrival;

    TransferSummary operator()(TransferKind kind, const Folders &folders, const QStringList &names)
    {
        const Jpg2ExifPorts attributes = jpg2ExifAttributePorts();
        int current = 0;
        const TransferPorts ports{
            [&current](int number, int) { current = number; },
            [&] { return current != stopBefore; },
            [this](const QString &target) {
                asked.append(QFileInfo(target).fileName());
                return answers.isEmpty() ? OverwriteAnswer::Cancel : answers.takeFirst();
            },
            attributes.readAttributes,
            attributes.writeAttributes,
            listPrivateAheadStep,
            [&](const QString &path) {
                listsOnArrival.append(read(folders.destination(QStringLiteral(".hidden"))));
                forgetHiddenEntry(path);
            },
            [this](const QString &path, const StepError &error) {
                failures.append(path);
                descriptions.append(error.description);
            }};
        return transferPictures({kind, folders.source(), names, folders.destination(), kBackups},
                                ports);
    }
};

struct CarryCase {
    TransferKind kind;
    const char *destinationRoot; // /dev/shm: another file system than the temporary folder
};

class Carry : public testing::TestWithParam<CarryCase>
{
};

// A hidden picture, a read-only one with a backup and an old time, and one with a backup: all
// arrive whole with their marks, times and backups; a move leaves nothing behind.
TEST_P(Carry, PicturesArriveWithTheirBackupsMarksAndTimes)
{
    const Folders folders(QString::fromLatin1(GetParam().destinationRoot));
    if (!folders.destinationDir.isValid())
        GTEST_SKIP() << "no folder can be made in " << GetParam().destinationRoot;
    const QStringList names = {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                               QStringLiteral("c.jpg")};
    for (const QString &name : names)
        write(folders.source(name), name.toUtf8().repeated(1000));
    for (const QString &name : names.mid(1))
        write(folders.source(kBackups + u'/' + name), "old " + name.toUtf8());
    ASSERT_TRUE(setAttributes(folders.source(names[0]), FileAttribute::Hidden).ok());
    ASSERT_TRUE(setAttributes(folders.source(names[1]), FileAttribute::ReadOnly).ok());
    const QDateTime shot = QDateTime::fromSecsSinceEpoch(1083827289);
    QFile old(folders.source(names[1]));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly) &&
                old.setFileTime(shot, QFileDevice::FileModificationTime));
    old.close();

    RecordedRun run;
    EXPECT_EQ(run(GetParam().kind, folders, names).done, 3);

    EXPECT_TRUE(run.failures.isEmpty()) << run.failures.join(u' ').toStdString();
    for (const QString &name : names)
        EXPECT_EQ(read(folders.destination(name)), name.toUtf8().repeated(1000));
    EXPECT_EQ(entries(folders.destination(kBackups)), names.mid(1));
    EXPECT_EQ(read(folders.destination(kBackups + QStringLiteral("/b.jpg"))), "old b.jpg");
    QList<int> marks(2);
    getAttributes(folders.destination(names[0]), marks[0]);
    getAttributes(folders.destination(names[1]), marks[1]);
    EXPECT_EQ(marks, QList<int>({FileAttribute::Hidden, FileAttribute::ReadOnly}));
    EXPECT_EQ(QFileInfo(folders.destination(names[1])).lastModified(), shot);
    const bool moved = GetParam().kind == TransferKind::Move;
    if (moved) {
        EXPECT_EQ(run.listsOnArrival.value(0), "a.jpg\n"); // private from the moment it arrived
    }
    EXPECT_EQ(entries(folders.source()).filter(QStringLiteral(".jpg")),
              moved ? QStringList() : names);
    EXPECT_EQ(entries(folders.source(kBackups)).size(), moved ? 0 : 2);
    EXPECT_EQ(entries(folders.destination()), QStringList{QStringLiteral(".hidden")} + names);
}

INSTANTIATE_TEST_SUITE_P(CopyAndMove, Carry,
                         testing::Values(CarryCase{TransferKind::Copy, "/tmp"},
                                         CarryCase{TransferKind::Move, "/tmp"},
                                         CarryCase{TransferKind::Move, "/dev/shm"}));

// The picture a.jpg (with a backup) and b.jpg meet a.jpg and its backup at the destination.
struct ClashCase {
    const char *what;
    TransferKind kind;
    OverwriteAnswer answer;
    int done;
    bool replaced; // the destination's a.jpg and its backup are the source's
};

class Clash : public testing::TestWithParam<ClashCase>
{
};

TEST_P(Clash, NothingIsReplacedWithoutYesAndTheBackupFollowsItsPicture)
{
    const ClashCase &row = GetParam();
    SCOPED_TRACE(row.what);
    const Folders folders;
    write(folders.source(QStringLiteral("a.jpg")), "new a");
    write(folders.source(QStringLiteral("Original/a.jpg")), "new backup");
    write(folders.source(QStringLiteral("b.jpg")), "b");
    write(folders.destination(QStringLiteral("a.jpg")), "old a");
    write(folders.destination(QStringLiteral("Original/a.jpg")), "old backup");

    RecordedRun run{{row.answer}, 0, {}, {}, {}, {}};
    EXPECT_EQ(run(row.kind, folders, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}).done,
              row.done);

    EXPECT_EQ(run.asked, QStringList{QStringLiteral("a.jpg")});
    EXPECT_EQ(read(folders.destination(QStringLiteral("a.jpg"))), row.replaced ? "new a" : "old a");
    EXPECT_EQ(read(folders.destination(QStringLiteral("Original/a.jpg"))),
              row.replaced ? "new backup" : "old backup");
    const bool sourceKept = row.kind == TransferKind::Copy || !row.replaced;
    EXPECT_EQ(QFile::exists(folders.source(QStringLiteral("a.jpg"))), sourceKept);
    EXPECT_EQ(QFile::exists(folders.source(QStringLiteral("Original/a.jpg"))), sourceKept);
    EXPECT_EQ(entries(folders.destination()).size(), row.done == 0 ? 1 : 2); // no work files
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Clash,
    testing::Values(ClashCase{"copy no", TransferKind::Copy, OverwriteAnswer::No, 1, false},
                    ClashCase{"move no", TransferKind::Move, OverwriteAnswer::No, 1, false},
                    ClashCase{"copy yes", TransferKind::Copy, OverwriteAnswer::Yes, 2, true},
                    ClashCase{"move all", TransferKind::Move, OverwriteAnswer::YesToAll, 2, true},
                    ClashCase{"cancel", TransferKind::Move, OverwriteAnswer::Cancel, 0, false}));

// Without a clash at its picture there was no yes: a backup already at the destination stays.
TEST(Transfer, ABackupReplacesNothingWithoutThePicturesYes)
{
    const Folders folders;
    write(folders.source(QStringLiteral("a.jpg")), "a");
    write(folders.source(QStringLiteral("Original/a.jpg")), "new backup");
    write(folders.destination(QStringLiteral("Original/a.jpg")), "old backup");
    RecordedRun run;
    EXPECT_EQ(run(TransferKind::Copy, folders, {QStringLiteral("a.jpg")}).done, 1);
    EXPECT_TRUE(run.asked.isEmpty());
    EXPECT_EQ(run.failures, QStringList{folders.source(QStringLiteral("Original/a.jpg"))});
    EXPECT_EQ(read(folders.destination(QStringLiteral("Original/a.jpg"))), "old backup");
}

// Cancelled before the third of five, a move leaves two whole pictures at the destination and
// three at the source, and no part-written file anywhere.
TEST(Transfer, CancelMidBatchLeavesEveryPictureWholeOnOneSide)
{
    const Folders folders;
    QStringList names;
    for (int i = 1; i <= 5; ++i) {
        names.append(QStringLiteral("p%1.jpg").arg(i));
        write(folders.source(names.last()), QByteArray(100000, char(i)));
    }
    RecordedRun run{{}, 3, {}, {}, {}, {}};
    const TransferSummary summary = run(TransferKind::Move, folders, names);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.done, 2);
    EXPECT_EQ(entries(folders.destination()), names.mid(0, 2));
    EXPECT_EQ(entries(folders.source()), names.mid(2));
}

// Root may write where the mode allows nothing; an immutable folder stops it too.
bool makeUnwritable(const QString &folder, bool unwritable)
{
    const QFile::Permissions readable = QFile::ReadOwner | QFile::ExeOwner;
    QFile::setPermissions(folder, unwritable ? readable : readable | QFile::WriteOwner);
    if (::geteuid() != 0)
        return true;
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = unwritable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0)
        ::close(fd);
    return done;
}

TEST(Transfer, ReadOnlyDestinationAndVanishedSourceLoseNothing)
{
    const Folders folders;
    write(folders.source(QStringLiteral("a.jpg")), "a");
    if (!makeUnwritable(folders.destination(), true))
        GTEST_SKIP() << "cannot make a folder unwritable for this user here";
    RecordedRun run;
    const TransferSummary summary =
        run(TransferKind::Move, folders, {QStringLiteral("gone.jpg"), QStringLiteral("a.jpg")});
    makeUnwritable(folders.destination(), false);
    EXPECT_EQ(summary.done, 0);
    EXPECT_EQ(summary.failed, 2);
    EXPECT_EQ(run.failures.size(), 2);
    EXPECT_EQ(read(folders.source(QStringLiteral("a.jpg"))), "a");
    EXPECT_TRUE(entries(folders.destination()).isEmpty());
}

// A copy that fails (on a file size limit, as on a full disk) names the picture, not the
// hidden work file it was writing, with the system's reason.
TEST(Transfer, AFailedCopyNamesThePictureAndTheSystemsReason)
{
    const Folders folders;
    write(folders.source(QStringLiteral("a.jpg")), QByteArray(10000, 'a'));
    RecordedRun run;
    TransferSummary summary;
    {
        const FileSizeLimit limit(1000);
        summary = run(TransferKind::Copy, folders, {QStringLiteral("a.jpg")});
    }
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(run.descriptions, QStringList{folders.source(QStringLiteral("a.jpg")) +
                                            QStringLiteral(" をｺﾋﾟｰできません: ") +
                                            QString::fromLocal8Bit(std::strerror(EFBIG))});
    EXPECT_TRUE(entries(folders.destination()).isEmpty());
}

TEST(Transfer, OwnFolderIsRefusedAndAFileThatIsItsOwnTargetIsSkipped)
{
    const Folders folders;
    const QString link = folders.destination(QStringLiteral("link"));
    QFile::link(folders.source(), link);
    for (const QString &destination :
         {folders.source(), folders.source(QStringLiteral(".")), link, folders.source(kBackups)})
        EXPECT_TRUE(destinationIsOwnFolder(
            {TransferKind::Copy, folders.source(), {}, destination, kBackups}))
            << destination.toStdString();
    EXPECT_FALSE(destinationIsOwnFolder(
        {TransferKind::Copy, folders.source(), {}, folders.destination(), kBackups}));

    write(folders.source(QStringLiteral("a.jpg")), "a");
    QFile::link(folders.source(QStringLiteral("a.jpg")),
                folders.destination(QStringLiteral("a.jpg")));
    RecordedRun run;
    EXPECT_EQ(run(TransferKind::Move, folders, {QStringLiteral("a.jpg")}).skipped, 1);
    EXPECT_TRUE(run.asked.isEmpty());
    EXPECT_EQ(read(folders.source(QStringLiteral("a.jpg"))), "a");
}

} // namespace
