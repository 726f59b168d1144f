#include "platform/wallpaper/desktopwallpaper.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/wallpaper/commandrunner.h"

namespace
{

// Records each command and answers it with success and the queued output (empty when none).
class RecordingRunner : public CommandRunner
{
  public:
    CommandResult run(const QString &program, const QStringList &arguments) override
    {
        commands.append(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')));
        return {true, outputs.isEmpty() ? QByteArray() : outputs.takeFirst(), {}};
    }

    QStringList commands;
    QList<QByteArray> outputs;
};

struct Scoped {
    QByteArray name;
    QByteArray previous;
    Scoped(const char *n, const QByteArray &value) : name(n), previous(qgetenv(n))
    {
        qputenv(n, value);
    }
    ~Scoped() { qputenv(name, previous); }
};

QString gsettingsGet(const QString &key)
{
    QProcess process;
    process.start(QStringLiteral("gsettings"),
                  {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.background"), key});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

TEST(DesktopWallpaper, DesktopNamesChooseTheirTools)
{
    RecordingRunner runner;
    const QList<QPair<QString, QString>> cases = {
        {"ubuntu:GNOME", "gsettings set org.gnome.desktop.background picture-options none"},
        {"Budgie:GNOME", "gsettings set org.gnome.desktop.background picture-options none"},
        {"X-Cinnamon", "gsettings set org.cinnamon.desktop.background picture-options none"},
        {"MATE", "gsettings set org.mate.background picture-options none"},
        {"XFCE", "xfconf-query -c xfce4-desktop -l"},
        {"KDE", "dbus-send"},
    };
    for (const auto &[desktop, first] : cases) {
        runner.commands.clear();
        const auto wallpaper = desktopWallpaperFor(desktop, runner);
        ASSERT_NE(wallpaper, nullptr) << qPrintable(desktop);
        EXPECT_EQ(wallpaper->remove(), QString());
        ASSERT_FALSE(runner.commands.isEmpty());
        EXPECT_TRUE(runner.commands.first().startsWith(first)) << qPrintable(desktop);
    }
    EXPECT_EQ(desktopWallpaperFor(QStringLiteral("sway"), runner), nullptr);
    EXPECT_EQ(desktopWallpaperFor(QString(), runner), nullptr);
}

TEST(DesktopWallpaper, XfceSetsEveryListedBackdrop)
{
    RecordingRunner runner;
    runner.outputs = {"/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                      "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                      "/backdrop/screen0/monitoreDP-1/workspace0/last-image\n"};
    const auto wallpaper = desktopWallpaperFor(QStringLiteral("XFCE"), runner);
    EXPECT_EQ(wallpaper->apply(QStringLiteral("/home/u/Tabilo.bmp"), WallpaperStyle::Tiled),
              QString());
    const QString set = QStringLiteral("xfconf-query -c xfce4-desktop -p /backdrop/screen0/");
    EXPECT_EQ(runner.commands,
              (QStringList{"xfconf-query -c xfce4-desktop -l",
                           set + "monitorHDMI-1/workspace0/image-style -n -t int -s 2",
                           set + "monitoreDP-1/workspace0/image-style -n -t int -s 2",
                           set + "monitorHDMI-1/workspace0/last-image -n -t string -s "
                                 "/home/u/Tabilo.bmp",
                           set + "monitoreDP-1/workspace0/last-image -n -t string -s "
                                 "/home/u/Tabilo.bmp"}));
}

// The desktop's background colour as each tool prints it; nothing readable is no colour.
TEST(DesktopWallpaper, BackgroundColourIsReadFromTheDesktopsTools)
{
    struct Case {
        const char *desktop;
        QList<QByteArray> outputs;
        QColor color;
    };
    const QByteArray xfceList = "/backdrop/screen0/monitor0/workspace0/last-image\n";
    const QByteArray plasmaReply = "method return time=1.5 sender=:1.9 -> destination=:1.80\n"
                                   "   string \"%1\"\n";
    const Case cases[] = {
        {"GNOME", {"'#023c88'\n"}, QColor(0x02, 0x3c, 0x88)},
        {"MATE",
         {"'#58589c9c7676'\n"},
         QColor(QRgba64::fromRgba64(0x5858, 0x9c9c, 0x7676, 0xffff))},
        {"GNOME", {"\n"}, QColor()},
        {"XFCE",
         {xfceList, "Value is an array with 4 items:\n\n0.200000\n0.400000\n1.000000\n1.000000\n"},
         QColor::fromRgbF(0.2f, 0.4f, 1.0f)},
        {"XFCE", {xfceList, "Value is an array with 4 items:\n\n"}, QColor()},
        {"KDE", {QByteArray(plasmaReply).replace("%1", "10,20,30")}, QColor(10, 20, 30)},
        {"KDE", {QByteArray(plasmaReply).replace("%1", "#102030")}, QColor(16, 32, 48)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.desktop + (" " + c.outputs.last()).toStdString());
        RecordingRunner runner;
        runner.outputs = c.outputs;
        const auto wallpaper = desktopWallpaperFor(QString::fromLatin1(c.desktop), runner);
        EXPECT_EQ(wallpaper->backgroundColor(), c.color);
    }
}

TEST(DesktopWallpaper, PlasmaShowsThePictureThenItsFillMode)
{
    RecordingRunner runner;
    const auto wallpaper = desktopWallpaperFor(QStringLiteral("KDE"), runner);
    EXPECT_EQ(wallpaper->apply(QStringLiteral("/home/u/Tabilo.bmp"), WallpaperStyle::Centered),
              QString());
    ASSERT_EQ(runner.commands.size(), 2);
    EXPECT_EQ(runner.commands[0], QStringLiteral("plasma-apply-wallpaperimage /home/u/Tabilo.bmp"));
    EXPECT_TRUE(runner.commands[1].contains(QStringLiteral("writeConfig('FillMode', 6)")));
}

// The real gsettings with a private keyfile backend: each style is read back as the
// desktop would read it.
TEST(DesktopWallpaper, GnomeKeysReadBackThroughGsettings)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        GTEST_SKIP() << "gsettings is not installed (libglib2.0-bin)";
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const Scoped backend("GSETTINGS_BACKEND", "keyfile");
    const Scoped home("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto wallpaper = desktopWallpaperFor(QStringLiteral("GNOME"), commandRunner());
    const QList<QPair<WallpaperStyle, QString>> styles = {
        {WallpaperStyle::Stretched, "'stretched'"},
        {WallpaperStyle::Scaled, "'scaled'"},
        {WallpaperStyle::Centered, "'centered'"},
        {WallpaperStyle::Tiled, "'wallpaper'"},
    };
    for (const auto &[style, option] : styles) {
        ASSERT_EQ(wallpaper->apply(QStringLiteral("/tmp/a b/壁紙/Tabilo.bmp"), style), QString());
        EXPECT_EQ(gsettingsGet(QStringLiteral("picture-options")), option);
        EXPECT_EQ(gsettingsGet(QStringLiteral("picture-uri")),
                  QStringLiteral("'file:///tmp/a%20b/%E5%A3%81%E7%B4%99/Tabilo.bmp'"));
        EXPECT_EQ(gsettingsGet(QStringLiteral("picture-uri-dark")),
                  QStringLiteral("'file:///tmp/a%20b/%E5%A3%81%E7%B4%99/Tabilo.bmp'"));
    }
    ASSERT_EQ(wallpaper->remove(), QString());
    EXPECT_EQ(gsettingsGet(QStringLiteral("picture-options")), QStringLiteral("'none'"));
    QProcess::execute(QStringLiteral("gsettings"),
                      {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.background"),
                       QStringLiteral("primary-color"), QStringLiteral("#a0b0c0")});
    EXPECT_EQ(wallpaper->backgroundColor(), QColor(0xa0, 0xb0, 0xc0));
}

} // namespace
