#include "ui/main/form1.h"

#include "core/paths.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "platform/prompter.h"
#include "ui/convert/frmjpg2exif.h"
#include "ui/main/statuspanel.h"
#include "ui/viewer/externalprogram.h"
#include "ui/viewer/frmpictex.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>

namespace
{

const QString kOpenTitle = QStringLiteral("画像ﾌｧｲﾙを開く");
// Both spellings, for file choosers that match patterns with regard to case.
const QString kOpenFilter = QStringLiteral("画像ﾌｧｲﾙ (*.jpg *.JPG)");

} // namespace

void Form1::connectScanCommands()
{
    connect(command(QStringLiteral("mnuFileOpen")), &QAction::triggered, this,
            &Form1::mnuFileOpen_Click);
    connect(command(QStringLiteral("mnuEditSelAll")), &QAction::triggered, this,
            &Form1::mnuEditSelAll_Click);
    connect(command(QStringLiteral("mnuEdit2Exif")), &QAction::triggered, this,
            &Form1::mnuEdit2Exif_Click);
    connect(command(QStringLiteral("mnuEditRotate")), &QAction::triggered, this,
            &Form1::mnuEditRotate_Click);
    connect(command(QStringLiteral("popOpen")), &QAction::triggered, this,
            &Form1::ListView1_DblClick);
    connect(command(QStringLiteral("popExOpen")), &QAction::triggered, this,
            &Form1::popExOpen_Click);
}

// Any picture of a folder chooses the folder; the picture itself is neither selected nor opened.
void Form1::mnuFileOpen_Click()
{
    if (m_scanning)
        return; // the running scan keeps its folder; a new one could not start before it ends
    const QString chosen =
        prompter().chooseOpenFile(kOpenTitle, kOpenFilter, appSettings().filePath);
    const std::optional<QString> folder = parentFolderOf(chosen);
    if (chosen.isEmpty() || !folder) {
        m_keepReading = false;
        return;
    }
    m_shownFolder = *folder;
    displayThumb(*folder);
}

void Form1::openStartPath(const QString &path)
{
    const QFileInfo named(path);
    if (!named.exists()) {
        prompter().message(PromptIcon::Exclamation, QStringLiteral("ﾌｧｲﾙが見つかりません"),
                           QStringLiteral("ﾌｫﾙﾀﾞまたはﾌｧｲﾙが見つかりません。\r\n") + path,
                           PromptButtons::Ok);
        return;
    }
    const QString folder = named.isDir() ? named.absoluteFilePath() : named.absolutePath();
    m_shownFolder = withTrailingBackslash(QDir::cleanPath(folder));
    displayThumb(m_shownFolder);
    if (!named.isDir())
        selectPicture(named.fileName());
}

// Selects the listed picture `name` as a click would: panel, current picture, command state.
void Form1::selectPicture(const QString &name)
{
    for (int row = 0; row < m_thumbnails->rowCount(); ++row) {
        if (m_thumbnails->name(row) == name) {
            m_listView1->setCurrentIndex(m_thumbnails->index(row));
            ListView1_ItemClick();
            return;
        }
    }
}

// The row the user works on: the current row when it is selected, else the first selected.
int Form1::selectedRow() const
{
    const QItemSelectionModel *selection = m_listView1->selectionModel();
    if (!selection || !selection->hasSelection())
        return -1;
    const QModelIndex current = m_listView1->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return current.row();
    return selection->selectedIndexes().constFirst().row();
}

void Form1::ListView1_DblClick()
{
    if (m_scanning)
        return; // while a scan runs only Stop and Esc act
    const int row = selectedRow();
    if (row < 0) {
        statusPanel(1)->setText(QStringLiteral("最初に画像ﾌｧｲﾙを開いて下さい。"));
        return;
    }
    const QString picture = m_shownFolder + m_thumbnails->name(row);
    appSettings().general.currentPicture = picture;
    if (appSettings().exProgram.ExProDirect != 0)
        runExternalProgram(picture);
    else
        frmPictEX::showPicture(picture);
}

// The default external program gets the full path of the selected picture, as from a double
// click, so that the viewer, the wallpaper and the rotation read a path they can open.
void Form1::popExOpen_Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString picture = withTrailingBackslash(m_file1Folder) + m_thumbnails->name(row);
    appSettings().general.currentPicture = picture;
    runExternalProgram(picture);
}

void Form1::mnuEditSelAll_Click()
{
    const int count = m_thumbnails->rowCount();
    if (count > 0) {
        // The first picture becomes the selected one, as if clicked: panel, current picture,
        // command state.
        m_listView1->setCurrentIndex(m_thumbnails->index(0));
        ListView1_ItemClick();
    }
    m_listView1->selectAll();
    statusPanel(1)->setText(QStringLiteral(" ") + QString::number(count) +
                            QStringLiteral(" ﾌｧｲﾙを選択しました。"));
}

// Converted pictures get their new Exif thumbnails only when the folder is read again, so a
// run that converted something reloads the list, then tells what it converted.
void Form1::mnuEdit2Exif_Click()
{
    const std::optional<int> converted = runConversion();
    if (!converted || *converted == 0)
        return;
    reloadShownFolder();
    statusPanel(1)->setText(frmJpg2Exif::statusText(*converted));
}

// The conversion dialog over the shown folder's pictures as the scan lists them.
std::optional<int> Form1::runConversion()
{
    const std::optional<int> converted = frmJpg2Exif::run(this, m_shownFolder, file1Names());
    if (converted)
        statusPanel(1)->setText(frmJpg2Exif::statusText(*converted));
    return converted;
}
