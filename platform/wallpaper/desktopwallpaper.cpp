#include "platform/wallpaper/desktopwallpaper.h"

#include "platform/wallpaper/gsettingswallpaper.h"
#include "platform/wallpaper/plasmawallpaper.h"
#include "platform/wallpaper/xfcewallpaper.h"

std::unique_ptr<DesktopWallpaper> desktopWallpaperFor(const QString &currentDesktop,
                                                      CommandRunner &runner)
{
    for (const QString &name : currentDesktop.toUpper().split(QLatin1Char(':'))) {
        if (name == QStringLiteral("KDE"))
            return std::make_unique<PlasmaWallpaper>(runner);
        if (name == QStringLiteral("XFCE"))
            return std::make_unique<XfceWallpaper>(runner);
        if (name == QStringLiteral("X-CINNAMON") || name == QStringLiteral("CINNAMON"))
            return std::make_unique<GsettingsWallpaper>(cinnamonBackground(), runner);
        if (name == QStringLiteral("MATE"))
            return std::make_unique<GsettingsWallpaper>(mateBackground(), runner);
        if (name == QStringLiteral("GNOME") || name == QStringLiteral("BUDGIE") ||
            name == QStringLiteral("UNITY") || name == QStringLiteral("GNOME-CLASSIC") ||
            name == QStringLiteral("GNOME-FLASHBACK"))
            return std::make_unique<GsettingsWallpaper>(gnomeBackground(), runner);
    }
    return nullptr;
}
