#include "ui/wallpaper/frmwall.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/settings/settings.h"
#include "exif/shownpicture.h"
#include "platform/prompter.h"
#include "platform/wallpaper/commandrunner.h"
#include "platform/wallpaper/desktopwallpaper.h"

namespace
{

const QString kTitle = QStringLiteral("背景の変更");

WallpaperStyle styleOf(WallpaperArrangement arrangement)
{
    switch (arrangement) {
    case WallpaperArrangement::Stretch:
        return WallpaperStyle::Stretched;
    case WallpaperArrangement::Fit:
        return WallpaperStyle::Scaled;
    case WallpaperArrangement::Center:
        return WallpaperStyle::Centered;
    case WallpaperArrangement::Tile:
        break;
    }
    return WallpaperStyle::Tiled;
}

// A fitted picture's margins take the desktop's own background colour, so the bitmap blends
// with the desktop round it; black when the desktop does not say. Only a fitted picture has
// margins to fill.
QColor marginColor(WallpaperArrangement arrangement, DesktopWallpaper &desktop)
{
    if (arrangement != WallpaperArrangement::Fit)
        return {};
    const QColor color = desktop.backgroundColor();
    return color.isValid() ? color : QColor(Qt::black);
}

std::unique_ptr<DesktopWallpaper> currentDesktop()
{
    return desktopWallpaperFor(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), commandRunner());
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

} // namespace

frmWall::frmWall(const QString &picturePath, QWidget *parent)
    : QDialog(parent), m_picturePath(picturePath)
{
    setObjectName(QStringLiteral("frmWall"));
    setWindowTitle(kTitle);
    auto *frame1 = new QGroupBox(QStringLiteral("画像の位置"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *options = new QVBoxLayout(frame1);
    const QStringList captions = {
        QStringLiteral("画面の大きさに拡大(&G)"), QStringLiteral("縦横比を保って拡大(&T)"),
        QStringLiteral("中央に表示(&O)"), QStringLiteral("並べて表示(&B)")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *option = new QRadioButton(captions[i], frame1);
        option->setObjectName(QStringLiteral("opt_%1").arg(i));
        options->addWidget(option);
        opt.append(option);
    }
    opt.first()->setChecked(true);

    QPushButton *apply = button("Command1", QStringLiteral("適用(&A)"), this);
    QPushButton *none = button("cmdNone", QStringLiteral("壁紙の削除(&D)"), this);
    QPushButton *close = button("Command2", QStringLiteral("閉じる(&C)"), this);
    connect(apply, &QPushButton::clicked, this, &frmWall::Command1_Click);
    connect(none, &QPushButton::clicked, this, &frmWall::cmdNone_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(apply);
    buttons->addWidget(none);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(frame1, 1);
    layout->addLayout(buttons);
}

QString frmWall::bitmapPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tabilo/Tabilo.bmp");
}

// Nothing reaches the desktop unless every step before it worked: a picture that cannot be
// read or a bitmap that cannot be written leaves the wallpaper as it was.
void frmWall::Command1_Click()
{
    const std::unique_ptr<DesktopWallpaper> desktop = currentDesktop();
    if (!desktop) {
        tell(QStringLiteral("このﾃﾞｽｸﾄｯﾌﾟの壁紙は設定できません。"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage picture =
        readShownPicture(m_picturePath, appSettings().general.AutoOrient == 1).image;
    if (picture.isNull()) {
        QApplication::restoreOverrideCursor();
        prompter().message(PromptIcon::Critical, QString(),
                           m_picturePath + QStringLiteral("が読み込めません。"), PromptButtons::Ok);
        return;
    }
    const WallpaperArrangement arrangement = chosenArrangement();
    const QString problem = writeBitmap(renderWallpaper(picture, arrangement, workArea(),
                                                        marginColor(arrangement, *desktop)))
                                ? desktop->apply(bitmapPath(), styleOf(arrangement))
                                : QStringLiteral("壁紙のﾌｧｲﾙを保存できません。\n") + bitmapPath();
    QApplication::restoreOverrideCursor();
    if (!problem.isEmpty())
        tell(QStringLiteral("壁紙を設定できませんでした。\n") + problem);
}

void frmWall::cmdNone_Click()
{
    const std::unique_ptr<DesktopWallpaper> desktop = currentDesktop();
    if (!desktop) {
        tell(QStringLiteral("このﾃﾞｽｸﾄｯﾌﾟの壁紙は設定できません。"));
        return;
    }
    const QString problem = desktop->remove();
    if (!problem.isEmpty())
        tell(QStringLiteral("壁紙を削除できませんでした。\n") + problem);
}

WallpaperArrangement frmWall::chosenArrangement() const
{
    for (int i = 0; i < opt.size(); ++i) {
        if (opt[i]->isChecked())
            return WallpaperArrangement(i + 1);
    }
    return WallpaperArrangement::Stretch;
}

// The desktop draws the bitmap in device pixels, on the screen this dialog is on.
QSize frmWall::workArea() const
{
    const QScreen *where = screen();
    if (!where)
        return {};
    return workAreaPixels(where->availableGeometry().size(), where->devicePixelRatio());
}

// Written to a new file and renamed over the old one, so the desktop never reads half a
// bitmap.
bool frmWall::writeBitmap(const QImage &bitmap)
{
    if (bitmap.isNull() || !QDir().mkpath(QFileInfo(bitmapPath()).path()))
        return false;
    QSaveFile file(bitmapPath());
    return file.open(QIODevice::WriteOnly) && bitmap.save(&file, "BMP") && file.commit();
}

void frmWall::tell(const QString &text)
{
    prompter().message(PromptIcon::Exclamation, kTitle, text, PromptButtons::Ok);
}
