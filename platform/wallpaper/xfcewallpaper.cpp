#include "platform/wallpaper/xfcewallpaper.h"

#include "platform/wallpaper/commandrunner.h"

namespace
{

const QString kChannel = QStringLiteral("xfce4-desktop");
const QString kLastImage = QStringLiteral("/last-image");

// xfdesktop's image styles; 0 shows no picture.
QString imageStyle(WallpaperStyle style)
{
    switch (style) {
    case WallpaperStyle::Stretched:
        return QStringLiteral("3");
    case WallpaperStyle::Scaled:
        return QStringLiteral("4");
    case WallpaperStyle::Centered:
        return QStringLiteral("1");
    case WallpaperStyle::Tiled:
        break;
    }
    return QStringLiteral("2");
}

} // namespace

QString XfceWallpaper::apply(const QString &bitmapPath, WallpaperStyle style)
{
    QString problem;
    const QStringList targets = backdrops(problem);
    if (!problem.isEmpty())
        return problem;
    problem =
        setEach(targets, QStringLiteral("/image-style"), QStringLiteral("int"), imageStyle(style));
    if (problem.isEmpty())
        problem = setEach(targets, kLastImage, QStringLiteral("string"), bitmapPath);
    return problem;
}

QString XfceWallpaper::remove()
{
    QString problem;
    const QStringList targets = backdrops(problem);
    if (!problem.isEmpty())
        return problem;
    return setEach(targets, QStringLiteral("/image-style"), QStringLiteral("int"),
                   QStringLiteral("0"));
}

// The first backdrop's colour: xfconf-query prints its "rgba1" array as a heading followed by
// one component from 0 to 1 per line.
QColor XfceWallpaper::backgroundColor()
{
    QString problem;
    const QStringList targets = backdrops(problem);
    if (!problem.isEmpty())
        return {};
    const CommandResult got = m_runner.run(QStringLiteral("xfconf-query"),
                                           {QStringLiteral("-c"), kChannel, QStringLiteral("-p"),
                                            targets.first() + QStringLiteral("/rgba1")});
    if (!got.succeeded)
        return {};
    QList<float> components;
    for (const QByteArray &line : got.output.split('\n')) {
        bool isNumber = false;
        const float component = line.trimmed().toFloat(&isNumber);
        if (isNumber && component >= 0 && component <= 1)
            components.append(component);
    }
    if (components.size() < 3)
        return {};
    return QColor::fromRgbF(components[0], components[1], components[2]);
}

QStringList XfceWallpaper::backdrops(QString &problem)
{
    const CommandResult listed = m_runner.run(
        QStringLiteral("xfconf-query"), {QStringLiteral("-c"), kChannel, QStringLiteral("-l")});
    if (!listed.succeeded) {
        problem = listed.problem;
        return {};
    }
    QStringList found;
    for (const QString &line : QString::fromUtf8(listed.output).split(QLatin1Char('\n'))) {
        const QString property = line.trimmed();
        if (property.startsWith(QStringLiteral("/backdrop/")) && property.endsWith(kLastImage))
            found.append(property.chopped(kLastImage.size()));
    }
    if (found.isEmpty())
        found.append(QStringLiteral("/backdrop/screen0/monitor0/workspace0"));
    return found;
}

// "-n -t" creates a property that does not exist yet and sets one that does.
QString XfceWallpaper::setEach(const QStringList &backdrops, const QString &name,
                               const QString &type, const QString &value)
{
    for (const QString &backdrop : backdrops) {
        const CommandResult set = m_runner.run(
            QStringLiteral("xfconf-query"),
            {QStringLiteral("-c"), kChannel, QStringLiteral("-p"), backdrop + name,
             QStringLiteral("-n"), QStringLiteral("-t"), type, QStringLiteral("-s"), value});
        if (!set.succeeded)
            return set.problem;
    }
    return {};
}
