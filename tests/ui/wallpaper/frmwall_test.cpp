#include "ui/wallpaper/frmwall.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "core/settings/settings.h"
#include "platform/wallpaper/commandrunner.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"

namespace
{

class RecordingRunner : public CommandRunner
{
  public:
    RecordingRunner() { setCommandRunner(this); }
    ~RecordingRunner() override { setCommandRunner(nullptr); }
    CommandResult run(const QString &program, const QStringList &arguments) override
    {
        commands.append(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        const bool colorAsked = arguments.value(0) == QStringLiteral("get") &&
                                arguments.value(2) == QStringLiteral("primary-color");
        return {true, colorAsked ? desktopColor : QByteArray(), {}};
    }
    QStringList commands;
    QByteArray desktopColor = "'#336699'\n";
};

class WallpaperDialog : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
        m_savedData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_CURRENT_DESKTOP", m_savedDesktop);
        qputenv("XDG_DATA_HOME", m_savedData);
    }

    QString picture(const QSize &size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = m_dir.filePath(QStringLiteral("a.jpg"));
        EXPECT_TRUE(image.save(path, "JPG"));
        return path;
    }

    void apply(const QString &path, int option)
    {
        frmWall dialog(path);
        dialog.findChild<QRadioButton *>(QStringLiteral("opt_%1").arg(option))->setChecked(true);
        dialog.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    }

    QTemporaryDir m_dir;
    QByteArray m_savedDesktop;
    QByteArray m_savedData;
    RecordingRunner m_runner;
    RecordingPrompter m_prompts;
};

TEST_F(WallpaperDialog, TiledPictureKeepsItsSizeAndTheDesktopTilesIt)
{
    apply(picture({300, 200}), 3);
    EXPECT_EQ(QImage(frmWall::bitmapPath()).size(), QSize(300, 200));
    EXPECT_EQ(frmWall::bitmapPath(), m_dir.filePath(QStringLiteral("data/Tabilo/Tabilo.bmp")));
    EXPECT_TRUE(m_runner.commands.contains(
        QStringLiteral("gsettings set org.gnome.desktop.background picture-options wallpaper")));
    EXPECT_TRUE(m_prompts.requests().isEmpty());
}

// A picture fitted to the work area has its margins in the desktop's own colour.
TEST_F(WallpaperDialog, FittedPictureHasMarginsInTheDesktopColour)
{
    apply(picture({40, 400}), 1);
    const QImage bitmap(frmWall::bitmapPath());
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_EQ(bitmap.pixelColor(0, bitmap.height() / 2), QColor(0x33, 0x66, 0x99));
    EXPECT_TRUE(m_runner.commands.contains(
        QStringLiteral("gsettings get org.gnome.desktop.background primary-color")));
    EXPECT_TRUE(m_runner.commands.contains(
        QStringLiteral("gsettings set org.gnome.desktop.background picture-options scaled")));
}

// The wallpaper shows a shot as the viewer does: upright as its Orientation says, or as stored
// with the setting off.
TEST_F(WallpaperDialog, PictureFollowsTheUprightSetting)
{
    CameraShot shot;
    shot.orientation = 6;
    const QString path = writeTestFile(m_dir, QStringLiteral("p.jpg"), cameraJpeg(shot));
    const qint16 saved = appSettings().general.AutoOrient;
    const struct {
        qint16 autoOrient;
        QSize size;
        const char *corners;
    } cases[] = {{1, {480, 640}, "cadb"}, {0, {640, 480}, "abcd"}};
    for (const auto &c : cases) {
        appSettings().general.AutoOrient = c.autoOrient;
        apply(path, 2);
        const QImage bitmap(frmWall::bitmapPath());
        EXPECT_EQ(bitmap.size(), c.size);
        EXPECT_EQ(writefixtures::patternCorners(bitmap), QString::fromLatin1(c.corners));
    }
    appSettings().general.AutoOrient = saved;
}

TEST_F(WallpaperDialog, UnreadablePictureStopsBeforeTheDesktop)
{
    const QString missing = m_dir.filePath(QStringLiteral("gone.jpg"));
    m_prompts.queueAnswer(PromptAnswer::Ok);
    apply(missing, 0);
    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].icon, PromptIcon::Critical);
    EXPECT_EQ(m_prompts.requests()[0].title, QString());
    EXPECT_EQ(m_prompts.requests()[0].text, missing + QStringLiteral("が読み込めません。"));
    EXPECT_TRUE(m_runner.commands.isEmpty());
    EXPECT_FALSE(QFile::exists(frmWall::bitmapPath()));
}

TEST_F(WallpaperDialog, UnwritableBitmapStopsBeforeTheDesktop)
{
    QFile blocker(m_dir.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the data folder would be
    blocker.close();
    m_prompts.queueAnswer(PromptAnswer::Ok);
    apply(picture({30, 20}), 0);
    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].text,
              QStringLiteral("壁紙を設定できませんでした。\n壁紙のﾌｧｲﾙを保存できません。\n") +
                  frmWall::bitmapPath());
    EXPECT_TRUE(m_runner.commands.isEmpty());
}

TEST_F(WallpaperDialog, UnknownDesktopIsToldAndNothingRuns)
{
    qputenv("XDG_CURRENT_DESKTOP", "sway");
    m_prompts.queueAnswer(PromptAnswer::Ok);
    frmWall dialog(picture({30, 20}));
    dialog.findChild<QPushButton *>(QStringLiteral("cmdNone"))->click();
    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].title, QStringLiteral("背景の変更"));
    EXPECT_EQ(m_prompts.requests()[0].text, QStringLiteral("このﾃﾞｽｸﾄｯﾌﾟの壁紙は設定できません。"));
    EXPECT_TRUE(m_runner.commands.isEmpty());
}

} // namespace
