#include "ui/main/form1.h"

#include "core/settings/settings.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QToolBar>

namespace
{

// Toolbar buttons that run a menu command, by key.
const QList<QPair<QString, QString>> kMenuTwins = {
    {QStringLiteral("Open"), QStringLiteral("mnuFileOpen")},
    {QStringLiteral("Rename"), QStringLiteral("mnuFileRename")},
    {QStringLiteral("Option"), QStringLiteral("mnuOption")},
    {QStringLiteral("SetVisible"), QStringLiteral("mnuEditVisible")},
    {QStringLiteral("SetHidden"), QStringLiteral("mnuEditHide")},
    {QStringLiteral("SelAll"), QStringLiteral("mnuEditSelAll")},
    {QStringLiteral("startSlideShow"), QStringLiteral("mnuFileSlideShow")},
    {QStringLiteral("jpg2Exif"), QStringLiteral("mnuEdit2Exif")},
    {QStringLiteral("Rotate"), QStringLiteral("mnuEditRotate")},
};

QString menuTwinOf(const QString &key)
{
    for (const auto &[button, twin] : kMenuTwins) {
        if (button == key)
            return twin;
    }
    return {};
}

} // namespace

void Form1::addToolButton(const QString &key, const QString &toolTip, const QString &icon,
                          QActionGroup *group)
{
    auto *button = new QAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(icon)), toolTip, this);
    button->setObjectName(key);
    button->setData(key);
    button->setToolTip(toolTip);
    if (group) {
        button->setCheckable(true);
        group->addAction(button);
    }
    m_tbToolBar->addAction(button);
    m_toolButtons.append(button);
}

void Form1::createToolBar()
{
    m_tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
    m_tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_tbToolBar->setMovable(false);
    m_tbToolBar->setFloatable(false);
    m_tbToolBar->toggleViewAction()->setVisible(false);
    m_tbToolBar->setIconSize(QSize(24, 24));

    addToolButton(QStringLiteral("Open"), QStringLiteral("開く"), QStringLiteral("open"));
    addToolButton(QStringLiteral("Rename"), QStringLiteral("撮影日にﾘﾈｰﾑ"),
                  QStringLiteral("calendar"));
    addToolButton(QStringLiteral("Option"), QStringLiteral("ｵﾌﾟｼｮﾝ"), QStringLiteral("gear"));
    m_tbToolBar->addSeparator();
    addToolButton(QStringLiteral("SetVisible"), QStringLiteral("公開画像に設定"),
                  QStringLiteral("eye"));
    addToolButton(QStringLiteral("SetHidden"), QStringLiteral("非公開画像に設定"),
                  QStringLiteral("eye-crossed"));
    addToolButton(QStringLiteral("SelAll"), QStringLiteral("全て選択"),
                  QStringLiteral("select-all"));
    m_tbToolBar->addSeparator();
    auto *modes = new QActionGroup(this);
    addToolButton(QStringLiteral("ShowAll"), QStringLiteral("全ての画像を表示"),
                  QStringLiteral("show-all"), modes);
    addToolButton(QStringLiteral("ShowNormal"), QStringLiteral("公開画像のみ表示"),
                  QStringLiteral("show-public"), modes);
    addToolButton(QStringLiteral("ShowHidden"), QStringLiteral("非公開画像のみ表示"),
                  QStringLiteral("show-private"), modes);
    m_tbToolBar->addSeparator();
    auto *sizes = new QActionGroup(this);
    addToolButton(QStringLiteral("SetSmall"), QStringLiteral("小さいｻﾑﾈｲﾙ"),
                  QStringLiteral("size-small"), sizes);
    addToolButton(QStringLiteral("SetMid"), QStringLiteral("標準のｻﾑﾈｲﾙ"),
                  QStringLiteral("size-mid"), sizes);
    addToolButton(QStringLiteral("SetBig"), QStringLiteral("大きなｻﾑﾈｲﾙ"),
                  QStringLiteral("size-big"), sizes);
    m_tbToolBar->addSeparator();
    addToolButton(QStringLiteral("Reload"), QStringLiteral("再読み込み"), QStringLiteral("reload"));
    addToolButton(QStringLiteral("Stop"), QStringLiteral("読み込みの中断"), QStringLiteral("stop"));
    m_tbToolBar->addSeparator();
    addToolButton(QStringLiteral("startSlideShow"), QStringLiteral("ｽﾗｲﾄﾞｼｮｳの開始"),
                  QStringLiteral("slideshow"));
    addToolButton(QStringLiteral("jpg2Exif"), QStringLiteral("非ExifﾌｧｲﾙをExifﾌｧｲﾙに変換"),
                  QStringLiteral("convert"));
    addToolButton(QStringLiteral("Rotate"), QStringLiteral("画像の回転"), QStringLiteral("rotate"));

    connect(m_tbToolBar, &QToolBar::actionTriggered, this,
            [this](QAction *button) { tbToolBar_ButtonClick(button->data().toString()); });
}

// Mode and size buttons change only the setting and the indicators; the list follows at the
// next reading of the folder.
void Form1::tbToolBar_ButtonClick(const QString &key)
{
    const QString twin = menuTwinOf(key);
    if (!twin.isEmpty()) {
        command(twin)->trigger();
        return;
    }
    GeneralSettings &general = appSettings().general;
    if (key == QStringLiteral("ShowAll") || key == QStringLiteral("ShowNormal") ||
        key == QStringLiteral("ShowHidden")) {
        general.gVisibleMode = key == QStringLiteral("ShowAll")      ? 0
                               : key == QStringLiteral("ShowNormal") ? 1
                                                                     : 2;
        showVisibleMode();
    } else if (key == QStringLiteral("SetSmall") || key == QStringLiteral("SetMid") ||
               key == QStringLiteral("SetBig")) {
        general.gThumbSize = key == QStringLiteral("SetSmall") ? 2
                             : key == QStringLiteral("SetMid") ? 1
                                                               : 0;
        showThumbSize();
    } else if (key == QStringLiteral("Reload")) {
        reloadShownFolder();
    } else if (key == QStringLiteral("Stop")) {
        m_keepReading = false;
    }
}
