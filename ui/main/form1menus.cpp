#include "ui/main/form1.h"

#include "core/settings/settings.h"
#include "ui/help/frmabout.h"
#include "ui/help/help.h"

#include <QAction>
#include <QDesktopServices>
#include <QListView>
#include <QMenu>
#include <QMenuBar>

namespace
{

// Pop-up items and the menu-bar items they run. popOpen and popExOpen run operations of their own.
const QList<QPair<QString, QString>> kPopupTwins = {
    {QStringLiteral("popSlideShow"), QStringLiteral("mnuFileSlideShow")},
    {QStringLiteral("popVisible"), QStringLiteral("mnuEditVisible")},
    {QStringLiteral("popHide"), QStringLiteral("mnuEditHide")},
    {QStringLiteral("popCopyFile"), QStringLiteral("mnuFileCopy")},
    {QStringLiteral("popMoveFile"), QStringLiteral("mnuFileMove")},
    {QStringLiteral("popRenameFile"), QStringLiteral("mnuFileRenameOrigin")},
    {QStringLiteral("popDelFile"), QStringLiteral("mnuFileDel")},
    {QStringLiteral("popWallPaper"), QStringLiteral("mnuEditWallPaper")},
    {QStringLiteral("pop2Exif"), QStringLiteral("mnuEdit2Exif")},
    {QStringLiteral("popRotate"), QStringLiteral("mnuEditRotate")},
};

QString popupTwin(const QString &popupName)
{
    for (const auto &[popup, twin] : kPopupTwins) {
        if (popup == popupName)
            return twin;
    }
    return QString();
}

} // namespace

QAction *Form1::addCommand(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

void Form1::addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

void Form1::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, QStringLiteral("mnuFileOpen"), QStringLiteral("開く(&O)..."));
    QAction *slideShow =
        addCommand(file, QStringLiteral("mnuFileSlideShow"), QStringLiteral("ｽﾗｲﾄﾞｼｮｳ(&S)"));
    connect(slideShow, &QAction::triggered, this, &Form1::mnuFileSlideShow_Click);
    addCommand(file, QStringLiteral("mnuFileRename"), QStringLiteral("撮影日にﾘﾈｰﾑ(&R)..."));
    addSeparator(file, QStringLiteral("mnuBar3"));
    addCommand(file, QStringLiteral("mnuOption"), QStringLiteral("ｵﾌﾟｼｮﾝ(&N)..."));
    addSeparator(file, QStringLiteral("mnuFileBar1"));
    QAction *exit =
        addCommand(file, QStringLiteral("mnuFileExit"), QStringLiteral("Tabilo の終了(&X)"));
    // No open files are held between operations, so exiting is closing the window.
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    edit->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    addCommand(edit, QStringLiteral("mnuEditVisible"), QStringLiteral("公開画像に設定(&V)"));
    addCommand(edit, QStringLiteral("mnuEditHide"), QStringLiteral("非公開画像に設定(&H)"));
    addSeparator(edit, QStringLiteral("mnuBar2"));
    addCommand(edit, QStringLiteral("mnuFileCopy"), QStringLiteral("ﾌｧｲﾙのｺﾋﾟｰ(&C)..."));
    addCommand(edit, QStringLiteral("mnuFileMove"), QStringLiteral("ﾌｧｲﾙの移動(&M)..."));
    addCommand(edit, QStringLiteral("mnuFileRenameOrigin"), QStringLiteral("ﾌｧｲﾙ名の変更(&R)"));
    addSeparator(edit, QStringLiteral("mnuEditBar2"));
    addCommand(edit, QStringLiteral("mnuFileDel"), QStringLiteral("ﾌｧｲﾙの削除(&D)"));
    addSeparator(edit, QStringLiteral("mnuEditBar1"));
    addCommand(edit, QStringLiteral("mnuEditSelAll"), QStringLiteral("全て選択(&A)"));
    addSeparator(edit, QStringLiteral("mnnEditBar3"));
    addCommand(edit, QStringLiteral("mnuEditWallPaper"), QStringLiteral("壁紙に設定(&W)..."));
    addSeparator(edit, QStringLiteral("mnnEditBar2"));
    addCommand(edit, QStringLiteral("mnuEdit2Exif"), QStringLiteral("Exifﾌｧｲﾙに変換(&E)..."));
    addSeparator(edit, QStringLiteral("mnuEditBar5"));
    addCommand(edit, QStringLiteral("mnuEditRotate"), QStringLiteral("画像の回転(&T)"));

    QMenu *help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    QAction *topic =
        addCommand(help, QStringLiteral("mnuHelpTopic"), QStringLiteral("ﾄﾋﾟｯｸの検索(&T)..."));
    connect(topic, &QAction::triggered, this, [] { showHelpIndex(QString()); });
    QAction *www =
        addCommand(help, QStringLiteral("mnuHelpWWW"), QStringLiteral("最新ﾊﾞｰｼﾞｮﾝの取得(&W)..."));
    connect(www, &QAction::triggered, this, &Form1::mnuHelpWWW_Click);
    addSeparator(help, QStringLiteral("mnuHelpBar"));
    QAction *about =
        addCommand(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    connect(about, &QAction::triggered, this, &Form1::mnuHelpAbout_Click);
}

void Form1::createPopMnu()
{
    m_popMnu = new QMenu(QStringLiteral("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰ"), this);
    m_popMnu->setObjectName(QStringLiteral("popMnu"));
    addCommand(m_popMnu, QStringLiteral("popOpen"), QStringLiteral("開く(&O)..."));
    addCommand(m_popMnu, QStringLiteral("popExOpen"), QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑで開く(&M)"));
    addCommand(m_popMnu, QStringLiteral("popSlideShow"), QStringLiteral("ｽﾗｲﾄﾞｼｮｳ(&S)"));
    addSeparator(m_popMnu, QStringLiteral("popBar"));
    addCommand(m_popMnu, QStringLiteral("popVisible"), QStringLiteral("公開画像に設定(&V)"));
    addCommand(m_popMnu, QStringLiteral("popHide"), QStringLiteral("非公開画像に設定(&H)"));
    addSeparator(m_popMnu, QStringLiteral("popBar3"));
    addCommand(m_popMnu, QStringLiteral("popCopyFile"), QStringLiteral("ﾌｧｲﾙのｺﾋﾟｰ(&C)..."));
    addCommand(m_popMnu, QStringLiteral("popMoveFile"), QStringLiteral("ﾌｧｲﾙの移動(&M)..."));
    addCommand(m_popMnu, QStringLiteral("popRenameFile"), QStringLiteral("ﾌｧｲﾙ名の変更(&R)"));
    addSeparator(m_popMnu, QStringLiteral("popBar4"));
    addCommand(m_popMnu, QStringLiteral("popDelFile"), QStringLiteral("削除(&D)..."));
    addSeparator(m_popMnu, QStringLiteral("popBar5"));
    addCommand(m_popMnu, QStringLiteral("popWallPaper"), QStringLiteral("壁紙に設定(&W)..."));
    addSeparator(m_popMnu, QStringLiteral("popBar6"));
    addCommand(m_popMnu, QStringLiteral("pop2Exif"), QStringLiteral("非Exif→Exif変換(&E)..."));
    addSeparator(m_popMnu, QStringLiteral("popBar7"));
    addCommand(m_popMnu, QStringLiteral("popRotate"), QStringLiteral("画像の回転(&T)"));

    for (const auto &[popup, twin] : kPopupTwins) {
        QAction *twinItem = command(twin);
        connect(command(popup), &QAction::triggered, twinItem, &QAction::trigger);
    }
}

// The pop-up's command items follow the selection: all off without one; with one, each item
// can be clicked exactly when the command it runs can. A right click that selected the item it
// landed on is an item click first, so the commands follow that selection. No pop-up during a
// scan, where only Stop and Esc act.
void Form1::ListView1_RightButtonUp(const QPoint &globalPosition)
{
    if (m_scanning)
        return;
    const bool hasSelection = listHasSelection();
    if (hasSelection)
        ListView1_ItemClick();
    for (QAction *item : m_popMnu->actions()) {
        if (!item->isSeparator())
            item->setEnabled(hasSelection && popupItemRunnable(item->objectName()));
    }
    m_popMnu->popup(globalPosition);
}

bool Form1::popupItemRunnable(const QString &popupName) const
{
    if (popupName == QStringLiteral("popOpen"))
        return true;
    if (popupName == QStringLiteral("popExOpen"))
        return appSettings().exProgram.gDefExPro;
    const QAction *twin = command(popupTwin(popupName));
    return twin && twin->isEnabled();
}

void Form1::mnuButtonSetting(int state)
{
    if (const std::optional<CommandPlan> plan = m_commandState.enter(state))
        applyCommandPlan(*plan);
}

void Form1::applyCommandPlan(const CommandPlan &plan)
{
    for (const CommandPlan::MenuSwitch &item : plan.menuItems)
        setCommandEnabled(item.name, item.enabled);
    for (QAction *button : m_toolButtons)
        setCommandEnabled(button->objectName(), plan.toolbarBase);
    for (const QString &key : plan.toolbarExceptions)
        setCommandEnabled(key, !plan.toolbarBase);
}

// Toolbar buttons are named by their keys.
void Form1::setCommandEnabled(const QString &name, bool enabled)
{
    if (QAction *item = command(name))
        item->setEnabled(enabled);
}

void Form1::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

void Form1::mnuHelpWWW_Click()
{
    QDesktopServices::openUrl(webPageAddress());
}
