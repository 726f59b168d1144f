#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "tests/support/scanfolder.h"

namespace
{

struct CliResult {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

CliResult runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TABILO_CLI), arguments);
    CliResult run;
    // Long enough for any run here: a command still going has hung.
    if (process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit)
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    return run;
}

QStringList entriesOf(const ScanFolder &folder)
{
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray hiddenList(const ScanFolder &folder)
{
    QFile file(folder.file(QStringLiteral(".hidden")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

// The dry run prints the plan and changes nothing; the run prints the same lines and renames,
// in name order, a private picture staying private.
TEST(CliRenameByDate, DryRunPrintsWhatTheRunDoes)
{
    ScanFolder folder;
    CameraShot shot;
    shot.date = "2003:05:17 14:02:09";
    folder.addCamera(QStringLiteral("B.jpg"), shot);
    folder.addCamera(QStringLiteral("a.jpg"), shot);
    folder.addPlain(QStringLiteral("c.jpg"));
    folder.write(QStringLiteral(".hidden"), "B.jpg\n");
    const QStringList before = entriesOf(folder);
    const QByteArray plan = "a.jpg -> 20030517_140209.jpg\nB.jpg -> 20030517_140209_1.jpg\n";

    const CliResult dry =
        runCli({QStringLiteral("rename-by-date"), QStringLiteral("--dry-run"), folder.path()});
    EXPECT_EQ(dry.status, 0);
    EXPECT_EQ(dry.out, plan);
    EXPECT_EQ(entriesOf(folder), before);

    const CliResult run = runCli({QStringLiteral("rename-by-date"), folder.path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, plan);
    EXPECT_EQ(entriesOf(folder),
              QStringList({QStringLiteral(".hidden"), QStringLiteral("20030517_140209.jpg"),
                           QStringLiteral("20030517_140209_1.jpg"), QStringLiteral("c.jpg")}));
    EXPECT_EQ(hiddenList(folder), "20030517_140209_1.jpg\n");
    EXPECT_EQ(
        runCli({QStringLiteral("rename-by-date"), folder.file(QStringLiteral("c.jpg"))}).status, 2);
}

// hide and show edit ".hidden"; a file that cannot be changed is told, with a failing status.
TEST(CliHideShow, SetAndClearThePrivateMark)
{
    ScanFolder folder;
    folder.addPlain(QStringLiteral("a.jpg"));
    folder.addPlain(QStringLiteral("b.jpg"));
    const CliResult hide = runCli({QStringLiteral("hide"), folder.file(QStringLiteral("a.jpg")),
                                   folder.file(QStringLiteral("b.jpg"))});
    EXPECT_EQ(hide.status, 0);
    EXPECT_EQ(hiddenList(folder), "a.jpg\nb.jpg\n");

    const QString missing = folder.file(QStringLiteral("gone.jpg"));
    const CliResult show =
        runCli({QStringLiteral("show"), folder.file(QStringLiteral("a.jpg")), missing});
    EXPECT_EQ(show.status, 1);
    EXPECT_TRUE(show.err.contains(missing.toUtf8() + ": ")) << show.err.constData();
    EXPECT_TRUE(show.err.contains("(error 53)")) << show.err.constData();
    EXPECT_EQ(hiddenList(folder), "b.jpg\n");
}

// A ".hidden" (or its lock) that is not a regular file is neither read nor written: a link's
// target stays as it was, a FIFO never blocks. The commands that need the list refuse and name
// it; the dry run, which changes no mark, never reads it.
TEST(CliHiddenList, ANonRegularListIsRefusedAndNamed)
{
    enum class Kind { Link, Fifo, Folder, LockFifo };
    struct Case {
        Kind kind;
        QString command;
        int status;
    };
    const QString hide = QStringLiteral("hide");
    const QString show = QStringLiteral("show");
    const QString rename = QStringLiteral("rename-by-date");
    const QString dryRun = QStringLiteral("--dry-run");
    const Case cases[] = {
        {Kind::Link, hide, 1},   {Kind::Link, rename, 1},   {Kind::Fifo, hide, 1},
        {Kind::Fifo, show, 1},   {Kind::Fifo, rename, 1},   {Kind::Fifo, dryRun, 0},
        {Kind::Folder, hide, 1}, {Kind::LockFifo, hide, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(int(c.kind)).arg(c.command).toStdString());
        ScanFolder folder;
        ScanFolder elsewhere;
        elsewhere.write(QStringLiteral("pic.jpg"), "picture");
        CameraShot shot;
        shot.date = "2003:05:17 14:02:09";
        folder.addCamera(QStringLiteral("a.jpg"), shot);
        const QString named = folder.file(c.kind == Kind::LockFifo ? QStringLiteral(".hidden.lock")
                                                                   : QStringLiteral(".hidden"));
        const QByteArray path = QFile::encodeName(named);
        if (c.kind == Kind::Link)
            ASSERT_EQ(::symlink(QFile::encodeName(elsewhere.file(QStringLiteral("pic.jpg"))), path),
                      0);
        else if (c.kind == Kind::Folder)
            ASSERT_TRUE(QDir().mkdir(named));
        else
            ASSERT_EQ(::mkfifo(path, 0644), 0);

        const QStringList arguments =
            c.command == dryRun   ? QStringList{rename, dryRun, folder.path()}
            : c.command == rename ? QStringList{rename, folder.path()}
                                  : QStringList{c.command, folder.file(QStringLiteral("a.jpg"))};
        const CliResult run = runCli(arguments);
        EXPECT_EQ(run.status, c.status);
        if (c.status != 0) {
            EXPECT_TRUE(run.err.contains(path + " は通常のファイルではない"))
                << run.err.constData();
        }
        EXPECT_TRUE(entriesOf(folder).contains(QStringLiteral("a.jpg")));
        QFile target(elsewhere.file(QStringLiteral("pic.jpg")));
        ASSERT_TRUE(target.open(QIODevice::ReadOnly));
        EXPECT_EQ(target.readAll(), "picture");
    }
}

// Names that are not valid UTF-8 cannot be renamed; how many were left out is told once.
TEST(CliRenameByDate, TellsHowManyNamesItCannotRead)
{
    ScanFolder folder;
    const QByteArray path = QFile::encodeName(folder.path()) + "\xff.jpg";
    ::close(::open(path, O_WRONLY | O_CREAT, 0644));
    const CliResult run = runCli({QStringLiteral("rename-by-date"), folder.path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.contains("1 file(s) left out: their names are not valid UTF-8"))
        << run.err.constData();
}
