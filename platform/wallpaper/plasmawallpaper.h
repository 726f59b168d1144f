#pragma once

#include "platform/wallpaper/desktopwallpaper.h"

// KDE Plasma: plasma-apply-wallpaperimage shows the picture; the fill mode, and the switch
// to a plain colour that removes the wallpaper, go through the shell's scripting interface,
// which every Plasma release has.
class PlasmaWallpaper : public DesktopWallpaper
{
  public:
    explicit PlasmaWallpaper(CommandRunner &runner) : m_runner(runner) {}

    QString apply(const QString &bitmapPath, WallpaperStyle style) override;
    QString remove() override;
    QColor backgroundColor() override;

  private:
    QString evaluateScript(const QString &script);

    CommandRunner &m_runner;
};
