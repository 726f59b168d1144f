#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "core/settings/settings.h"
#include "core/settings/settingsfile.h"
#include "core/settings/settingstext.h"
#include "tests/support/qtprinters.h"

namespace
{
const QString programFolder = QStringLiteral("/opt/tabilo/");

class SettingsStore : public ::testing::Test
{
  protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Tabilo.conf")); }

    // QSettings rereads a file only when its size or time changed: give each
    // text a time of its own.
    void writeFile(const QByteArray &content) const
    {
        static qint64 minutes = 0;
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.flush();
        file.setFileTime(QDateTime::fromSecsSinceEpoch(++minutes * 60),
                         QFileDevice::FileModificationTime);
    }

    QByteArray fileText() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList read(AppSettings &settings) const
    {
        QSettings store(path(), QSettings::IniFormat);
        return readSettings(store, programFolder, settings);
    }

    QStringList write(const AppSettings &settings,
                      const std::optional<MainWindowPlacement> &placement) const
    {
        QSettings store(path(), QSettings::IniFormat);
        return writeSettings(store, settings, placement);
    }

    QTemporaryDir m_dir;
};

AppSettings changedSettings()
{
    AppSettings s;
    s.placement = {-120.5f, 30, 9000, 7000.25f};
    s.filePath = QStringLiteral("/home/user/写真");
    s.dataWidth = 3456.5f;
    s.general = {
        QString(), 0,        2,
        0,         0,        3,
        0,         1,        QStringLiteral("/mnt/カメラ"),
        1,         0,        QStringLiteral("Backup, old"),
        2,         0x00FF00, 0,
    };
    s.exProgram = {
        {QStringLiteral("/usr/bin/gimp"), QString(), QStringLiteral("/opt/x y/view")}, 1, 2, true};
    s.dataFont = {QStringLiteral("ＭＳ ゴシック"), 10.5, true, false};
    s.thumbLook = {QStringLiteral("IPAGothic"), 12.25, false, true, 0x123456, 0x0000FF, 16711680};
    s.slide = {60, 2, 0, 0, QString(), 7, QString(), 3, 100, 0xFFFFFF, false};
    return s;
}

void expectSameStoredValues(const AppSettings &actual, const AppSettings &expected)
{
    EXPECT_EQ(actual.placement, expected.placement);
    EXPECT_EQ(actual.filePath, expected.filePath);
    EXPECT_EQ(actual.dataWidth, expected.dataWidth);
    EXPECT_EQ(actual.general, expected.general);
    EXPECT_EQ(actual.exProgram, expected.exProgram);
    EXPECT_EQ(actual.dataFont, expected.dataFont);
    EXPECT_EQ(actual.thumbLook, expected.thumbLook);
    EXPECT_EQ(actual.slide, expected.slide);
}

AppSettings defaultsForProgramFolder()
{
    AppSettings defaults;
    defaults.filePath = QStringLiteral("/opt/tabilo");
    return defaults;
}
} // namespace

TEST_F(SettingsStore, EmptyStoreGivesTheDefaults)
{
    AppSettings s;
    s.general.gThumbSize = 2;
    EXPECT_TRUE(read(s).isEmpty());

    EXPECT_EQ(s.placement.left, 100.0f);
    EXPECT_EQ(s.placement.top, 100.0f);
    EXPECT_EQ(s.placement.width, 5600.0f);
    EXPECT_EQ(s.placement.height, 6500.0f);
    EXPECT_EQ(s.filePath, QStringLiteral("/opt/tabilo"));
    EXPECT_EQ(s.general.InitDir, QStringLiteral("/"));
    EXPECT_EQ(s.general.InitDirSW, 1);
    EXPECT_EQ(s.general.gThumbSize, 1);
    EXPECT_EQ(s.general.gVisibleMode, 0);
    EXPECT_EQ(s.general.Hottrack, 1);
    EXPECT_EQ(s.general.AutoOrient, 1);
    EXPECT_EQ(s.general.ThumbCache, 1);
    EXPECT_EQ(s.general.RotBackUpFolder, QStringLiteral("Original"));
    EXPECT_EQ(s.dataWidth, 3000.0f);
    EXPECT_EQ(s.dataFont.name, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(s.dataFont.size, 10.0);
    EXPECT_EQ(s.thumbLook.ThumbColor, qint32(0x80000014u));
    EXPECT_EQ(s.thumbLook.NotExifColor, 255);
    EXPECT_EQ(s.slide.SlideInterval, 1);
    EXPECT_EQ(s.slide.SlideEffectBias, 80);
    EXPECT_TRUE(s.slide.SlideFullScreen);
    EXPECT_FALSE(s.exProgram.gDefExPro);
}

TEST_F(SettingsStore, EveryStoredValueRoundTrips)
{
    AppSettings written = changedSettings();
    written.general.currentPicture = QStringLiteral("/home/user/写真/a.jpg");
    written.slide.startItem = 5;
    written.slide.mainEffectName = QStringLiteral("name");
    ASSERT_TRUE(write(written, written.placement).isEmpty());

    AppSettings back;
    EXPECT_TRUE(read(back).isEmpty());
    // The run-time values are not stored.
    EXPECT_TRUE(back.general.currentPicture.isEmpty());
    EXPECT_EQ(back.slide.startItem, 0);
    EXPECT_TRUE(back.slide.mainEffectName.isEmpty());
    expectSameStoredValues(back, changedSettings());
}

TEST_F(SettingsStore, EachKeyIsWrittenOnceUnderItsWriteName)
{
    writeFile("[Settings]\nHottrack=0\nslideinterval=7\nMAINLEFT=55\n");
    AppSettings s;
    EXPECT_TRUE(read(s).isEmpty());
    EXPECT_EQ(s.general.Hottrack, 0);
    EXPECT_EQ(s.slide.SlideInterval, 7);
    EXPECT_EQ(s.placement.left, 55.0f);

    ASSERT_TRUE(write(s, s.placement).isEmpty());
    const QByteArray text = fileText();
    EXPECT_TRUE(text.contains("\nHotTrack=0\n")) << text.constData();
    EXPECT_FALSE(text.contains("Hottrack"));
    EXPECT_FALSE(text.contains("slideinterval"));
    EXPECT_FALSE(text.contains("MAINLEFT"));
    EXPECT_EQ(text.count("SlideInterval=7"), 1);

    AppSettings back;
    read(back);
    EXPECT_EQ(back.general.Hottrack, 0);
}

TEST_F(SettingsStore, ExactSpellingWinsOverOtherCase)
{
    writeFile("[Settings]\ngthumbsize=2\ngThumbSize=0\n");
    AppSettings s;
    read(s);
    EXPECT_EQ(s.general.gThumbSize, 0);
}

TEST_F(SettingsStore, UnconvertibleValuesReadAsDefaultsAndAreReported)
{
    writeFile("[Settings]\ngThumbSize=abc\nMainLeft=left\nSlideFullScreen=maybe\n"
              "SlideOrder=70000\nDataSize=nan\nTabOrder=2\n");
    AppSettings s;
    const QStringList problems = read(s);
    EXPECT_EQ(problems.size(), 5) << problems.join(u'\n').toStdString();
    EXPECT_EQ(s.general.gThumbSize, 1);
    EXPECT_EQ(s.placement.left, 100.0f);
    EXPECT_TRUE(s.slide.SlideFullScreen);
    EXPECT_EQ(s.slide.SlideOrder, 0);
    EXPECT_EQ(s.dataFont.size, 10.0);
    EXPECT_EQ(s.general.TabOrder, 2);
    EXPECT_TRUE(problems.join(u'\n').contains(QStringLiteral("gThumbSize")));
}

TEST_F(SettingsStore, DecimalCommaAndPointBothReadBack)
{
    writeFile("[Settings]\nDataSize=10,5\ngThumbLabelSize=\"10,5\"\nMainWidth=7000.5\n"
              "DataWidth=2000,25\n");
    AppSettings s;
    EXPECT_TRUE(read(s).isEmpty());
    EXPECT_EQ(s.dataFont.size, 10.5);
    EXPECT_EQ(s.thumbLook.size, 10.5);
    EXPECT_EQ(s.placement.width, 7000.5f);
    EXPECT_EQ(s.dataWidth, 2000.25f);

    ASSERT_TRUE(write(s, s.placement).isEmpty());
    EXPECT_TRUE(fileText().contains("\nDataSize=10.5\n"));
}

TEST_F(SettingsStore, MinimisedExitKeepsTheStoredRectangle)
{
    writeFile("[Settings]\nMainLeft=1\nMainTop=2\nMainWidth=3000\nMainHeight=4000\n");
    AppSettings s = changedSettings();
    ASSERT_TRUE(write(s, std::nullopt).isEmpty());

    AppSettings back;
    read(back);
    EXPECT_EQ(back.placement.left, 1.0f);
    EXPECT_EQ(back.placement.top, 2.0f);
    EXPECT_EQ(back.placement.width, 3000.0f);
    EXPECT_EQ(back.placement.height, 4000.0f);
    EXPECT_EQ(back.slide.SlideInterval, 60);
    EXPECT_EQ(back.filePath, s.filePath);
}

TEST_F(SettingsStore, ZeroStartSwitchStartsInTheFixedFolder)
{
    writeFile("[Settings]\nFilePath=/last\nInitDirSW=0\nInitDir=/fixed\n");
    AppSettings s;
    read(s);
    EXPECT_EQ(s.filePath, QStringLiteral("/fixed"));

    writeFile("[Settings]\nFilePath=/last\nInitDirSW=0\nInitDir=\n");
    read(s);
    EXPECT_EQ(s.filePath, QStringLiteral("/"));

    writeFile("[Settings]\nFilePath=/last\nInitDirSW=1\nInitDir=/fixed\n");
    read(s);
    EXPECT_EQ(s.filePath, QStringLiteral("/last"));
}

TEST_F(SettingsStore, GarbageLinesAreLeftOutAndReported)
{
    QByteArray garbage("\x00\xff\xfe=\x01[\n]]]\n==\n\x89PNG\r\n", 20);
    garbage += "[Settings]\ngThumbSize=2\n[broken\n";
    writeFile(garbage);
    AppSettings s;
    EXPECT_EQ(read(s).size(), 5);
    AppSettings expected = defaultsForProgramFolder();
    expected.general.gThumbSize = 2;
    expectSameStoredValues(s, expected);

    // The next shutdown replaces the damaged file with a readable one.
    ASSERT_TRUE(write(changedSettings(), changedSettings().placement).isEmpty());
    AppSettings back;
    EXPECT_TRUE(read(back).isEmpty());
    expectSameStoredValues(back, changedSettings());
    EXPECT_FALSE(fileText().contains("PNG"));
}

TEST_F(SettingsStore, TruncatedFileKeepsEveryWholeLine)
{
    ASSERT_TRUE(write(changedSettings(), changedSettings().placement).isEmpty());
    QByteArray text = fileText();
    const qsizetype cut = text.indexOf("SlideOrder=") + int(qstrlen("SlideOrd"));
    writeFile(text.left(cut));
    AppSettings s;
    EXPECT_EQ(read(s).size(), 1);
    // Keys are stored in ASCII order: those before the cut keep their values.
    EXPECT_EQ(s.general.RotBackUpFolder, QStringLiteral("Backup, old"));
    EXPECT_EQ(s.slide.SlideInterval, 60);
    EXPECT_EQ(s.slide.SlideOrder, 0);
    EXPECT_EQ(s.general.TabOrder, 0);
    EXPECT_EQ(s.general.gThumbSize, 1);
}

// Each kind of damage on one line: its key reads as the default, every other key keeps its
// stored value, and the next exit keeps them all in the file. A damaged header is the header of
// the program's one group, so the keys after it keep their values too.
TEST_F(SettingsStore, ADamagedLineResetsItsKeyAlone)
{
    ASSERT_TRUE(write(changedSettings(), changedSettings().placement).isEmpty());
    const QByteArray whole = fileText() + "J2Eback=1\n";
    const QByteArray header = "[Settings]";
    const QByteArray sound = "SlideOrder=2";
    ASSERT_TRUE(whole.startsWith(header + '\n') && whole.contains('\n' + sound + '\n'));

    const struct {
        QByteArray replaced;
        QByteArray damaged;
    } cases[] = {
        {sound, "SlideOrd"},
        {sound, "SlideOrder=two"},
        {sound, "SlideOrder=\"2"},
        {sound, "SlideOrder=2\\"},
        {sound, "SlideOrder=\xff"},
        {sound, QByteArray("SlideOrder=\0", 12)},
        {sound, "=2"},
        {header, "[Settings"},
    };
    for (const auto &c : cases) {
        writeFile(QByteArray(whole).replace(c.replaced + '\n', c.damaged + '\n'));
        AppSettings expected = changedSettings();
        if (c.replaced == sound)
            expected.slide.SlideOrder = 0;
        AppSettings s;
        EXPECT_EQ(read(s).size(), 1) << c.damaged.constData();
        expectSameStoredValues(s, expected);

        ASSERT_TRUE(write(s, s.placement).isEmpty());
        AppSettings back;
        EXPECT_TRUE(read(back).isEmpty()) << c.damaged.constData();
        expectSameStoredValues(back, expected);
        QSettings store(path(), QSettings::IniFormat);
        EXPECT_EQ(readSettingInt16(store, QStringLiteral("J2Eback"), 0), 1);
    }
}

// QSettings lists keys such as "a/" that it cannot look up, and writes them in a form it cannot
// read: exit leaves them out.
TEST_F(SettingsStore, ExitWritesOnlyWhatReadsBack)
{
    writeFile("[Settings]\nTabOrder=2\na/=3\n/=1\n");
    AppSettings s;
    EXPECT_TRUE(read(s).isEmpty());
    ASSERT_TRUE(write(s, s.placement).isEmpty());
    AppSettings back;
    EXPECT_TRUE(read(back).isEmpty()) << fileText().constData();
    EXPECT_EQ(back.general.TabOrder, 2);
}

TEST_F(SettingsStore, UnreadableFileStartsWithDefaults)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    ASSERT_TRUE(write(changedSettings(), changedSettings().placement).isEmpty());
    const QByteArray stored = fileText();
    QFile::setPermissions(path(), QFileDevice::Permissions());
    AppSettings s;
    EXPECT_FALSE(read(s).isEmpty());
    EXPECT_EQ(s.general.gThumbSize, 1);

    // Exit does not write the defaults over the values it could not read.
    EXPECT_FALSE(write(s, s.placement).isEmpty());
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileText(), stored);
}

TEST_F(SettingsStore, SingleDialogKeysShareTheGroup)
{
    {
        QSettings store(path(), QSettings::IniFormat);
        EXPECT_EQ(readSettingInt16(store, QStringLiteral("J2Eback"), 0), 0);
        writeSettingInt16(store, QStringLiteral("J2Eback"), 1);
        writeSettingInt16(store, QStringLiteral("J2Evalue"), 2);
    }
    EXPECT_TRUE(fileText().contains("[Settings]\nJ2Eback=1\nJ2Evalue=2\n"))
        << fileText().constData();

    // QSettings caches a file by path, size and time: change the size too.
    writeFile("[Settings]\nj2eBACK=1\nJ2Evalue=xyz\n");
    QSettings store(path(), QSettings::IniFormat);
    EXPECT_EQ(readSettingInt16(store, QStringLiteral("J2Eback"), 0), 1);
    EXPECT_EQ(readSettingInt16(store, QStringLiteral("J2Evalue"), 0), 0);
    writeSettingInt16(store, QStringLiteral("J2Eback"), 0);
    store.sync();
    EXPECT_FALSE(fileText().contains("j2eBACK"));
}

TEST(SettingsUserStore, LivesInTheUserConfigFolder)
{
    const QString expected =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tabilo/Tabilo.conf");
    EXPECT_EQ(settingsStore().fileName(), expected);
    EXPECT_EQ(settingsStore().format(), QSettings::IniFormat);
}

TEST(SettingsFile, DamagedLinesAreLeftOut)
{
    const struct {
        QByteArray text;
        QByteArray sound;
        QList<int> damagedLines;
    } cases[] = {
        {"[Settings]\nA=1\n\n; note\n# note\nB=\n", "[Settings]\nA=1\nB=\n", {}},
        {"\xEF\xBB\xBF[Settings]\r\nA=1\r\nB=2", "[Settings]\nA=1\nB=2\n", {}},
        {"A=\"x;\" ; a comment with a \"\nB=2\n", "A=\"x;\" ; a comment with a \"\nB=2\n", {}},
        {"A=\"x\nB=2\nC=\"y\"\n", "B=2\nC=\"y\"\n", {1}},
        {"A=x\\\nB=2\nC=x\\\\\n", "B=2\nC=x\\\\\n", {1}},
        {"A=1\rB\rC=3\n", "A=1\nC=3\n", {1}},
        {QByteArray("[Sett\nA\n=1\n \t=1\nA=\0\nA=\xff\n", 24), "[Settings]\n", {1, 2, 3, 4, 5, 6}},
    };
    for (const auto &c : cases) {
        const SoundSettingsText sound = soundSettingsText(c.text);
        EXPECT_EQ(sound.text, c.sound) << c.text.constData();
        EXPECT_EQ(sound.damagedLines, c.damagedLines) << c.text.constData();
    }
}

TEST(SettingsText, ParsesOnlyWhatFitsTheType)
{
    EXPECT_EQ(parseInt16(QStringLiteral(" -32768 ")), qint16(-32768));
    EXPECT_FALSE(parseInt16(QStringLiteral("32768")).has_value());
    EXPECT_FALSE(parseInt16(QStringLiteral("1.5")).has_value());
    EXPECT_FALSE(parseInt16(QString()).has_value());
    EXPECT_EQ(parseInt32(QStringLiteral("-2147483628")), qint32(0x80000014u));
    EXPECT_EQ(parseInt32(QStringLiteral("2147483668")), qint32(0x80000014u));
    EXPECT_FALSE(parseInt32(QStringLiteral("4294967296")).has_value());
    EXPECT_EQ(parseBool(QStringLiteral("True")), true);
    EXPECT_EQ(parseBool(QStringLiteral("false")), false);
    EXPECT_EQ(parseBool(QStringLiteral("-1")), true);
    EXPECT_EQ(parseBool(QStringLiteral("0")), false);
    EXPECT_FALSE(parseBool(QStringLiteral("yes")).has_value());
    EXPECT_EQ(parseDouble(QStringLiteral("10,5")), 10.5);
    EXPECT_FALSE(parseDouble(QStringLiteral("1,000.5")).has_value());
    EXPECT_FALSE(parseDouble(QStringLiteral("inf")).has_value());
    EXPECT_FALSE(parseFloat(QStringLiteral("1e39")).has_value());
}

TEST(SettingsText, FloatsAreWrittenShortestWithAPoint)
{
    EXPECT_EQ(formatFloat(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(formatFloat(5600), QStringLiteral("5600"));
    EXPECT_EQ(formatDouble(10.5), QStringLiteral("10.5"));
    EXPECT_EQ(formatBool(true), QStringLiteral("True"));
    EXPECT_EQ(formatBool(false), QStringLiteral("False"));
}
