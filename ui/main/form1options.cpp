#include "ui/main/form1.h"

#include <QAction>

#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "ui/options/frmopt1.h"
#include "ui/wallpaper/frmwall.h"

void Form1::connectSettingCommands()
{
    connect(command(QStringLiteral("mnuOption")), &QAction::triggered, this,
            &Form1::mnuOption_Click);
    QAction *wallPaper = command(QStringLiteral("mnuEditWallPaper"));
    connect(wallPaper, &QAction::triggered, this, &Form1::mnuEditWallPaper_Click);
    wallPaper->setEnabled(false); // off until a picture is selected
}

void Form1::openOptions(int page)
{
    appSettings().general.TabOrder = qint16(page);
    mnuOption_Click();
}

// The dialog opens on the page TabOrder names; whatever its outcome, the window shows the
// settings as they now are.
void Form1::mnuOption_Click()
{
    frmOPT1 dialog(this);
    dialog.Form_Load();
    if (dialog.exec() == QDialog::Accepted)
        applyListAndPanelLook();
    showVisibleMode();
    showThumbSize();
    showViewerPanel();
    Form_Resize();
}

void Form1::mnuEditWallPaper_Click()
{
    const int row = selectedRow();
    if (m_scanning || row < 0)
        return;
    const QString picture = m_shownFolder + m_thumbnails->name(row);
    appSettings().general.currentPicture = picture;
    frmWall dialog(picture, this);
    dialog.exec();
}
