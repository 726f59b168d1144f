#include "ui/viewer/frmpictex.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/settings/settings.h"
#include "ui/wallpaper/frmwall.h"

namespace
{
QAction *addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction *addBar(QMenu *menu, const char *name)
{
    QAction *bar = menu->addSeparator();
    bar->setObjectName(QString::fromLatin1(name));
    return bar;
}
} // namespace

void frmPictEX::createMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    connect(addItem(mnuFile, "mnuFileEXprogram", QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑの起動(&M)")),
            &QAction::triggered, this, &frmPictEX::mnuFileEXprogram_Click);
    addBar(mnuFile, "mnuFileBar0");
    connect(addItem(mnuFile, "mnuFileExit", QStringLiteral("閉じる(&X)")), &QAction::triggered,
            this, &frmPictEX::mnuFileExit_Click);

    QMenu *mnuOption = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    mnuOption->setObjectName(QStringLiteral("mnuOption"));
    m_mnuOptionAutoSize =
        addItem(mnuOption, "mnuOptionAutoSize", QStringLiteral("自動ｻｲｽﾞ調整(&S)"));
    m_mnuOptionOriginSize =
        addItem(mnuOption, "mnuOptionOriginSize", QStringLiteral("実寸で表示(&J)"));
    addBar(mnuOption, "mnuFileBar1");
    connect(addItem(mnuOption, "mnuSetWallPaper", QStringLiteral("壁紙に設定...")),
            &QAction::triggered, this, &frmPictEX::mnuSetWallPaper_Click);

    m_mnuOptionAutoSize->setCheckable(true);
    m_mnuOptionOriginSize->setCheckable(true);
    connect(m_mnuOptionAutoSize, &QAction::triggered, this, &frmPictEX::mnuOptionAutoSize_Click);
    connect(m_mnuOptionOriginSize, &QAction::triggered, this,
            &frmPictEX::mnuOptionOriginSize_Click);
}

void frmPictEX::createPopup()
{
    m_mnuPop = new QMenu(this);
    m_mnuPop->setObjectName(QStringLiteral("mnuPop"));
    m_popMnuAutoSize = addItem(m_mnuPop, "popMnuAutoSize", QStringLiteral("自動ｻｲｽﾞ調整(&S)"));
    m_popMnuOriginSize = addItem(m_mnuPop, "popMnuOriginSize", QStringLiteral("実寸で表示(J)"));
    addBar(m_mnuPop, "popBar0");
    m_popMnuEXProgram =
        addItem(m_mnuPop, "popMnuEXProgram", QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑの起動(&M)"));
    addBar(m_mnuPop, "popMnuBar0");
    connect(addItem(m_mnuPop, "popMnuWallPaper", QStringLiteral("壁紙に設定(&W)...")),
            &QAction::triggered, this, &frmPictEX::mnuSetWallPaper_Click);
    addBar(m_mnuPop, "popMnuBar1");
    m_popMnuExit = addItem(m_mnuPop, "popMnuExit", QStringLiteral("閉じる(&X)"));

    m_popMnuAutoSize->setCheckable(true);
    m_popMnuOriginSize->setCheckable(true);
    connect(m_popMnuAutoSize, &QAction::triggered, this, &frmPictEX::mnuOptionAutoSize_Click);
    connect(m_popMnuOriginSize, &QAction::triggered, this, &frmPictEX::mnuOptionOriginSize_Click);
    connect(m_popMnuEXProgram, &QAction::triggered, this, &frmPictEX::mnuFileEXprogram_Click);
    connect(m_popMnuExit, &QAction::triggered, this, &frmPictEX::mnuFileExit_Click);
}

void frmPictEX::showPopup(const QPoint &globalPos)
{
    m_popMnuEXProgram->setEnabled(appSettings().exProgram.gDefExPro);
    m_popMnuExit->setEnabled(true);
    m_mnuPop->popup(globalPos);
}

// The viewer's own picture, whatever the main list has chosen since it opened.
void frmPictEX::mnuSetWallPaper_Click()
{
    frmWall dialog(m_picturePath, this);
    dialog.exec();
}
