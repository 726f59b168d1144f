#include "ui/main/form1.h"

#include <QAction>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QListView>

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
    connect(m_listView1, &QListView::entered, this, &Form1::ListView1_HoverEnter);
}

void Form1::openOptions(int page)
{
    appSettings().general.TabOrder = qint16(page);
    mnuOption_Click();
}

// The dialog opens on the page TabOrder names; whatever its outcome, the window shows the
// settings as they now are. The list pictures were drawn upright or not when the folder was
// read, so they are read again when that setting changed.
void Form1::mnuOption_Click()
{
    const qint16 autoOrient = appSettings().general.AutoOrient;
    frmOPT1 dialog(this);
    dialog.Form_Load();
    if (dialog.exec() == QDialog::Accepted) {
        applyListAndPanelLook();
        if (appSettings().general.AutoOrient != autoOrient)
            reloadShownFolder();
    }
    showVisibleMode();
    showThumbSize();
    showViewerPanel();
    applyHottrack();
    Form_Resize();
}

// The list follows the setting only once the options dialog has closed, not at start-up.
void Form1::applyHottrack()
{
    const bool on = appSettings().general.Hottrack == 1;
    m_listView1->setMouseTracking(on);
    m_listView1->setAttribute(Qt::WA_Hover, on);
}

// With hot tracking the item the pointer reaches is selected as a click would select it;
// not while a button is held (a drag) nor during a scan.
void Form1::ListView1_HoverEnter(const QModelIndex &index)
{
    if (!m_listView1->hasMouseTracking() || m_scanning || !index.isValid() ||
        QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    m_listView1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    ListView1_ItemClick();
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
