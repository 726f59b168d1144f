#pragma once

#include <QStringList>

#include "platform/wallpaper/desktopwallpaper.h"

// XFCE: every monitor and workspace has its own backdrop properties in the xfce4-desktop
// channel; each one's "last-image" and "image-style" are set with xfconf-query.
class XfceWallpaper : public DesktopWallpaper
{
  public:
    explicit XfceWallpaper(CommandRunner &runner) : m_runner(runner) {}

    QString apply(const QString &bitmapPath, WallpaperStyle style) override;
    QString remove() override;
    QColor backgroundColor() override;

  private:
    // The backdrops the channel lists, as property paths without the last name; the first
    // monitor's when it lists none yet.
    QStringList backdrops(QString &problem);
    QString setEach(const QStringList &backdrops, const QString &name, const QString &type,
                    const QString &value);

    CommandRunner &m_runner;
};
