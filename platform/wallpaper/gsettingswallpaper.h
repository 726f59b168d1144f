#pragma once

#include "platform/wallpaper/desktopwallpaper.h"

// Where a gsettings desktop keeps its background: the schema, the key naming the picture
// (as a file URI, or as a plain path for MATE), and the dark-style twin of that key if the
// desktop has one.
struct BackgroundSchema {
    QString schema;
    QString pictureKey;
    bool pictureIsUri = true;
    QString darkPictureKey;
};

BackgroundSchema gnomeBackground();    // GNOME, Budgie, Unity
BackgroundSchema cinnamonBackground(); // Cinnamon
BackgroundSchema mateBackground();     // MATE

// The GNOME family: the background keys set with gsettings; "none" as the picture option
// removes the wallpaper.
class GsettingsWallpaper : public DesktopWallpaper
{
  public:
    GsettingsWallpaper(BackgroundSchema schema, CommandRunner &runner);

    QString apply(const QString &bitmapPath, WallpaperStyle style) override;
    QString remove() override;
    QColor backgroundColor() override;

  private:
    QString set(const QString &key, const QString &value);

    BackgroundSchema m_schema;
    CommandRunner &m_runner;
};
