#include "ui/main/form1.h"

#include "ui/frminfo.h"
#include "ui/main/statuspanel.h"

#include <QAction>
#include <QStatusBar>

void Form1::createStatusBar()
{
    struct PanelSpec {
        QString key;
        QString toolTip;
        int stretch;
        QString widestText; // keeps the panel wide enough for what it shows
    };
    const QList<PanelSpec> specs = {
        {QStringLiteral("messege"), QStringLiteral("ｲﾝﾌｫﾒｰｼｮﾝ"), 1,
         QStringLiteral(" 9999 ﾌｧｲﾙを選択しました。")},
        {QStringLiteral("VisOrHid"), QStringLiteral("選択している画像のﾓｰﾄﾞ"), 0,
         QStringLiteral("非公開")},
        {QStringLiteral("Visible"), QStringLiteral("現在の表示ﾓｰﾄﾞ"), 0, QStringLiteral("公開")},
        {QStringLiteral("Hidden"), QStringLiteral("現在の表示ﾓｰﾄﾞ"), 0, QStringLiteral("非公開")},
        {QStringLiteral("Files"), QStringLiteral("表示ﾌｧｲﾙ数 / 全ﾌｧｲﾙ数"), 0,
         QStringLiteral("0000 / 0000")},
        {QStringLiteral("ExProgram"), QStringLiteral("ﾋﾞｭｰｱｰの設定。ｸﾘｯｸで設定できます。"), 0,
         QStringLiteral("内蔵 / viewer-program")},
    };
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < specs.size(); ++i) {
        auto *panel = new StatusPanel(i + 1, specs[i].key, specs[i].toolTip, bar);
        if (!specs[i].widestText.isEmpty())
            panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(specs[i].widestText) +
                                   12);
        connect(panel, &StatusPanel::clicked, this, &Form1::StatusBar1_PanelClick);
        bar->addPermanentWidget(panel, specs[i].stretch);
        m_panels.append(panel);
    }
}

void Form1::StatusBar1_PanelClick(int index)
{
    if (index == 1) {
        m_frmInfo->show();
        m_frmInfo->raise();
        m_frmInfo->activateWindow();
        statusPanel(1)->setBevel(StatusPanel::Bevel::Sunken);
    } else if (index == 6 && !m_scanning) {
        // The options dialog opens on its viewer page; not during a scan, where only Stop and
        // Esc act.
        openOptions(2);
    }
}
