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
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit)
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
