#include "core/rename/daterename.h"

#include <cerrno>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/rename/datename.h"
#include "core/rename/foldernames.h"
#include "tests/support/scanfolder.h"

namespace
{

CameraShot shotAt(const QByteArray &date)
{
    CameraShot shot;
    shot.date = date;
    return shot;
}

struct RunRecord {
    int done = 0;
    QStringList names;  // the list after the run
    QList<int> steps;   // progress indices
    QStringList logged; // "label: description"
};

RunRecord runOver(const ScanFolder &folder, const QStringList &names, FolderNames &entries)
{
    RunRecord record;
    record.names = names;
    DateRenamePorts ports;
    ports.progress = [&](int index) { record.steps.append(index); };
    ports.renamed = [&](int index, const QString &name) { record.names[index] = name; };
    ports.log = [&](const QString &label, const StepError &error) {
        record.logged.append(label + QStringLiteral(": ") + error.description);
    };
    record.done = renameToShootingDate(folder.path(), names, entries, ports);
    return record;
}

RunRecord runOnDisk(const ScanFolder &folder, const QStringList &names)
{
    FolderNames entries(folder.path());
    return runOver(folder, names, entries);
}

QStringList entriesOf(const ScanFolder &folder)
{
    return QDir(folder.path())
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Makes the numbered name `_1` appear between the run's choice of it and its rename.
class RacingNames : public FolderNames
{
  public:
    explicit RacingNames(const ScanFolder &folder) : FolderNames(folder.path()), m_folder(folder) {}
    StepError rename(const QString &from, const QString &to) override
    {
        if (to.endsWith(QStringLiteral("_1.jpg")))
            m_folder.write(to, "raced");
        return FolderNames::rename(from, to);
    }

  private:
    const ScanFolder &m_folder;
};

class FailingNames : public FolderNames
{
  public:
    using FolderNames::FolderNames;
    StepError rename(const QString &, const QString &to) override
    {
        return StepError::fromErrno(EIO, to);
    }
};

} // namespace

TEST(DateName, OnlyFourteenAsciiDigitsMakeAName)
{
    const QList<QPair<QString, std::optional<QString>>> cases = {
        {QStringLiteral("2003/05/17 14:02:09"), QStringLiteral("20030517_140209")},
        {QStringLiteral("2003:05:17-14.02.09"), QStringLiteral("20030517_140209")},
        {QStringLiteral("    /  /     :  :  "), std::nullopt}, // no date tag
        {QStringLiteral("2003/05/17 14:02:0 "), std::nullopt},
        {QStringLiteral("2003/05/17 14:02"), std::nullopt},
        {QStringLiteral("../../.. ../../.."), std::nullopt},
        {QStringLiteral("2003/05/17 14:02:0") + QChar(0), std::nullopt},
        {QStringLiteral("２００３/05/17 14:02:09"), std::nullopt},
    };
    for (const auto &[text, name] : cases)
        EXPECT_EQ(dateNameOf(text), name) << text.toStdString();
    EXPECT_EQ(numberedDateName(QStringLiteral("20030517_140209"), 10),
              QStringLiteral("20030517_140209_10.jpg"));
}

// Three pictures of one second end as "", "_1", "_2" in list order; a second run finds every
// name in place and changes nothing.
TEST(DateRename, PicturesOfTheSameSecondAreNumberedOnce)
{
    ScanFolder folder;
    const QStringList names = {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                               QStringLiteral("c.jpg")};
    for (const QString &name : names)
        folder.addCamera(name, shotAt("2003:05:17 14:02:09"));
    const RunRecord first = runOnDisk(folder, names);
    const QStringList expected = {QStringLiteral("20030517_140209.jpg"),
                                  QStringLiteral("20030517_140209_1.jpg"),
                                  QStringLiteral("20030517_140209_2.jpg")};
    EXPECT_EQ(first.done, 3);
    EXPECT_EQ(first.names, expected);
    EXPECT_EQ(first.steps, QList<int>({0, 1, 2}));
    EXPECT_EQ(entriesOf(folder), expected);

    const RunRecord second = runOnDisk(folder, expected);
    EXPECT_EQ(second.done, 0);
    EXPECT_EQ(second.names, expected);
    EXPECT_TRUE(second.logged.isEmpty()) << second.logged.join(u'\n').toStdString();
}

// Whatever has a name keeps it: a folder, a broken link, a file that appears just before the
// rename.
TEST(DateRename, NoNameThatIsTakenIsEverReplaced)
{
    ScanFolder folder;
    folder.addCamera(QStringLiteral("a.jpg"), shotAt("2003:05:17 14:02:09"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("20030517_140209.jpg")));
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("nowhere")),
                            folder.file(QStringLiteral("20030517_140209_2.jpg"))));
    RacingNames racing(folder);
    const RunRecord record = runOver(folder, {QStringLiteral("a.jpg")}, racing);
    EXPECT_EQ(record.names, QStringList{QStringLiteral("20030517_140209_3.jpg")});
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("20030517_140209.jpg"))).isDir());
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("20030517_140209_2.jpg"))).isSymLink());
    QFile raced(folder.file(QStringLiteral("20030517_140209_1.jpg")));
    ASSERT_TRUE(raced.open(QIODevice::ReadOnly));
    EXPECT_EQ(raced.readAll(), "raced");
}

// Files without an Exif header or without a whole date are passed over without a progress
// step; so is a picture that vanished since the list was made.
TEST(DateRename, PicturesWithoutAShootingDateKeepTheirNames)
{
    ScanFolder folder;
    folder.addCamera(QStringLiteral("nodate.jpg"), shotAt(""));
    folder.addCamera(QStringLiteral("damaged.jpg"), shotAt("2003:05:17 14:0/:.."));
    folder.addPlain(QStringLiteral("plain.jpg"));
    folder.addCamera(QStringLiteral("dated.jpg"), shotAt("2003:05:17 14:02:09"));
    const QStringList names = {QStringLiteral("nodate.jpg"), QStringLiteral("damaged.jpg"),
                               QStringLiteral("plain.jpg"), QStringLiteral("gone.jpg"),
                               QStringLiteral("dated.jpg")};
    const RunRecord record = runOnDisk(folder, names);
    EXPECT_EQ(record.done, 1);
    EXPECT_EQ(record.steps, QList<int>{4});
    EXPECT_EQ(record.names.mid(0, 4), names.mid(0, 4));
    EXPECT_TRUE(record.logged.isEmpty());
}

TEST(DateRename, AFailedRenameIsLoggedAndTheNameStays)
{
    ScanFolder folder;
    folder.addCamera(QStringLiteral("a.jpg"), shotAt("2003:05:17 14:02:09"));
    FailingNames failing(folder.path());
    const RunRecord record = runOver(folder, {QStringLiteral("a.jpg")}, failing);
    EXPECT_EQ(record.done, 0);
    EXPECT_EQ(record.names, QStringList{QStringLiteral("a.jpg")});
    ASSERT_EQ(record.logged.size(), 1);
    EXPECT_TRUE(record.logged[0].startsWith(QStringLiteral("FILENAMEONE: ")));
}

// The plan gives the names the run would give, and leaves the folder as it was.
TEST(DateRename, ThePlanOfADryRunIsTheRun)
{
    ScanFolder folder;
    const QStringList names = {QStringLiteral("20030517_140209.jpg"), QStringLiteral("b.jpg"),
                               QStringLiteral("c.jpg"), QStringLiteral("d.jpg")};
    folder.addCamera(names[0], shotAt("2001:01:01 00:00:00"));
    folder.addCamera(names[1], shotAt("2003:05:17 14:02:09"));
    folder.addCamera(names[2], shotAt("2003:05:17 14:02:09"));
    folder.addCamera(names[3], shotAt("2001:01:01 00:00:00"));
    PlannedFolderNames plan(folder.path());
    const RunRecord planned = runOver(folder, names, plan);
    EXPECT_EQ(entriesOf(folder), names);
    const RunRecord done = runOnDisk(folder, names);
    EXPECT_EQ(planned.names, done.names);
    EXPECT_EQ(planned.done, done.done);
    // The name the first picture gives up is free for the second.
    EXPECT_EQ(done.names, QStringList({QStringLiteral("20010101_000000.jpg"),
                                       QStringLiteral("20030517_140209.jpg"),
                                       QStringLiteral("20030517_140209_1.jpg"),
                                       QStringLiteral("20010101_000000_1.jpg")}));
}
