#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include "core/wallpaper/wallpaperbitmap.h"

class QRadioButton;

// The wallpaper dialog: makes one picture the desktop's wallpaper in one of four
// arrangements, or removes the wallpaper. The picture is rendered into "Tabilo.bmp" in the
// user's data folder and handed to the desktop in use (platform/wallpaper).
class frmWall : public QDialog
{
    Q_OBJECT

  public:
    explicit frmWall(const QString &picturePath, QWidget *parent = nullptr);

    // Where the bitmap is written: "Tabilo/Tabilo.bmp" in the user's data folder.
    static QString bitmapPath();

  private Q_SLOTS:
    void Command1_Click();
    void cmdNone_Click();

  private:
    WallpaperArrangement chosenArrangement() const;
    QSize workArea() const;
    bool writeBitmap(const QImage &bitmap);
    void tell(const QString &text);

    QString m_picturePath;
    QList<QRadioButton *> opt;
};
