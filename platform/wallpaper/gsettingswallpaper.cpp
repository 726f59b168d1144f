#include "platform/wallpaper/gsettingswallpaper.h"

#include <QUrl>

#include "platform/wallpaper/commandrunner.h"

namespace
{

QString pictureOption(WallpaperStyle style)
{
    switch (style) {
    case WallpaperStyle::Stretched:
        return QStringLiteral("stretched");
    case WallpaperStyle::Scaled:
        return QStringLiteral("scaled");
    case WallpaperStyle::Centered:
        return QStringLiteral("centered");
    case WallpaperStyle::Tiled:
        break;
    }
    return QStringLiteral("wallpaper");
}

} // namespace

BackgroundSchema gnomeBackground()
{
    return {QStringLiteral("org.gnome.desktop.background"), QStringLiteral("picture-uri"), true,
            QStringLiteral("picture-uri-dark")};
}

BackgroundSchema cinnamonBackground()
{
    return {
        QStringLiteral("org.cinnamon.desktop.background"), QStringLiteral("picture-uri"), true, {}};
}

BackgroundSchema mateBackground()
{
    return {QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"), false, {}};
}

GsettingsWallpaper::GsettingsWallpaper(BackgroundSchema schema, CommandRunner &runner)
    : m_schema(std::move(schema)), m_runner(runner)
{
}

// The option goes first, so a desktop that showed no wallpaper shows the new one at once.
QString GsettingsWallpaper::apply(const QString &bitmapPath, WallpaperStyle style)
{
    const QString picture = m_schema.pictureIsUri
                                ? QUrl::fromLocalFile(bitmapPath).toString(QUrl::FullyEncoded)
                                : bitmapPath;
    QString problem = set(QStringLiteral("picture-options"), pictureOption(style));
    if (problem.isEmpty())
        problem = set(m_schema.pictureKey, picture);
    if (problem.isEmpty() && !m_schema.darkPictureKey.isEmpty())
        problem = set(m_schema.darkPictureKey, picture);
    return problem;
}

QString GsettingsWallpaper::remove()
{
    return set(QStringLiteral("picture-options"), QStringLiteral("none"));
}

// gsettings prints the colour as a quoted text, such as '#023c88'.
QColor GsettingsWallpaper::backgroundColor()
{
    const CommandResult got =
        m_runner.run(QStringLiteral("gsettings"),
                     {QStringLiteral("get"), m_schema.schema, QStringLiteral("primary-color")});
    if (!got.succeeded)
        return {};
    QByteArray text = got.output.trimmed();
    if (text.size() >= 2 && text.startsWith('\'') && text.endsWith('\''))
        text = text.mid(1, text.size() - 2);
    return QColor::fromString(QLatin1StringView(text));
}

QString GsettingsWallpaper::set(const QString &key, const QString &value)
{
    return m_runner
        .run(QStringLiteral("gsettings"), {QStringLiteral("set"), m_schema.schema, key, value})
        .problem;
}
