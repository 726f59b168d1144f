#pragma once

#include <memory>

#include <QColor>
#include <QString>

class CommandRunner;

// How the desktop places the bitmap it is given.
enum class WallpaperStyle { Stretched, Scaled, Centered, Tiled };

// The desktop in use, told through its own tools which bitmap to show and how, or to show
// none. Each call returns what went wrong, for the user; empty on success.
class DesktopWallpaper
{
  public:
    virtual ~DesktopWallpaper() = default;
    virtual QString apply(const QString &bitmapPath, WallpaperStyle style) = 0;
    virtual QString remove() = 0;
    // The colour the desktop shows where no picture covers it, as the user set it; invalid
    // when the desktop cannot tell.
    virtual QColor backgroundColor() = 0;
};

// The implementation for the desktop XDG_CURRENT_DESKTOP names (a ":"-separated list, such
// as "ubuntu:GNOME"), running its tools through `runner`; nullptr for a desktop it does not
// know.
std::unique_ptr<DesktopWallpaper> desktopWallpaperFor(const QString &currentDesktop,
                                                      CommandRunner &runner);
