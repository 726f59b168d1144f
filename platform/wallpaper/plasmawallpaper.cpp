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

// A colour as Plasma's configuration writes it, "r,g,b", or by name, "#rrggbb".
QColor colorOfConfigText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return QColor::fromString(text);
    return QColor::fromRgb(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
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

// The image wallpaper's own colour, which Plasma shows beside a fitted picture; the script's
// printed text comes back as the reply's one string.
QColor PlasmaWallpaper::backgroundColor()
{
    const CommandResult got = m_runner.run(
        QStringLiteral("dbus-send"),
        {QStringLiteral("--session"), QStringLiteral("--print-reply"),
         QStringLiteral("--type=method_call"), QStringLiteral("--dest=org.kde.plasmashell"),
         QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell.evaluateScript"),
         QStringLiteral("string:var d = desktops()[0]; d.currentConfigGroup = ['Wallpaper',"
                        " 'org.kde.image', 'General']; print(d.readConfig('Color'));")});
    const QByteArray quote = "string \"";
    const qsizetype start = got.output.indexOf(quote) + quote.size();
    const qsizetype end = got.output.indexOf('"', start);
    if (!got.succeeded || start < quote.size() || end < 0)
        return {};
    return colorOfConfigText(QString::fromUtf8(got.output.mid(start, end - start)).trimmed());
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
