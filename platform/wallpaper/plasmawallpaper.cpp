#include "platform/wallpaper/plasmawallpaper.h"

#include "platform/wallpaper/commandrunner.h"

namespace
{

// Plasma's image wallpaper takes Qt Quick's fill modes.
int fillMode(WallpaperStyle style)
{
    switch (style) {
    case WallpaperStyle::Stretched:
        return 0; // Stretch
    case WallpaperStyle::Scaled:
        return 1; // PreserveAspectFit
    case WallpaperStyle::Centered:
        return 6; // Pad
    case WallpaperStyle::Tiled:
        break;
    }
    return 3; // Tile
}

} // namespace

QString PlasmaWallpaper::apply(const QString &bitmapPath, WallpaperStyle style)
{
    const CommandResult shown =
        m_runner.run(QStringLiteral("plasma-apply-wallpaperimage"), {bitmapPath});
    if (!shown.succeeded)
        return shown.problem;
    return evaluateScript(QStringLiteral("desktops().forEach(function (d) {"
                                         " d.currentConfigGroup = ['Wallpaper', 'org.kde.image',"
                                         " 'General']; d.writeConfig('FillMode', %1); });")
                              .arg(fillMode(style)));
}

QString PlasmaWallpaper::remove()
{
    return evaluateScript(QStringLiteral(
        "desktops().forEach(function (d) { d.wallpaperPlugin = 'org.kde.color'; });"));
}

QString PlasmaWallpaper::evaluateScript(const QString &script)
{
    return m_runner
        .run(QStringLiteral("dbus-send"),
             {QStringLiteral("--session"), QStringLiteral("--type=method_call"),
              QStringLiteral("--dest=org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
              QStringLiteral("org.kde.PlasmaShell.evaluateScript"),
              QStringLiteral("string:") + script})
        .problem;
}
