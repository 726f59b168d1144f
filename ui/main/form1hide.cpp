#include "ui/main/form1.h"

#include <algorithm>

#include <QItemSelectionModel>
#include <QListView>

#include "core/errorlog.h"
#include "core/paths.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "platform/fileattributes.h"
#include "platform/prompter.h"
#include "ui/main/statuspanel.h"

namespace
{

QList<int> selectedRowsInListOrder(const QItemSelectionModel *selection)
{
    QList<int> rows;
    for (const QModelIndex &index : selection->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString doneText(int count, bool madePrivate)
{
    return QStringLiteral(" ") + QString::number(count) +
           (madePrivate ? QStringLiteral(" ﾌｧｲﾙを非公開画像に設定しました。")
                        : QStringLiteral(" ﾌｧｲﾙを公開画像に設定しました。"));
}

} // namespace

void Form1::mnuEditHide_Click()
{
    setSelectionPrivate(true);
}

void Form1::mnuEditVisible_Click()
{
    setSelectionPrivate(false);
}

// One edit of the folder's ".hidden" for the whole selection. Only a picture whose mark was
// set counts and leaves a view that no longer shows it; items go from the last up, so the
// rows still to do keep their numbers.
void Form1::setSelectionPrivate(bool makePrivate)
{
    if (m_scanning || m_file1Folder.isEmpty())
        return;
    const QString folder = withTrailingBackslash(m_file1Folder);
    const QList<int> rows = selectedRowsInListOrder(m_listView1->selectionModel());
    QStringList paths;
    for (const int row : rows)
        paths.append(folder + m_thumbnails->name(row));
    const QList<FileError> results = setHiddenMarks(paths, makePrivate);

    const int mode = appSettings().general.gVisibleMode;
    const bool leavesView = makePrivate ? mode == 1 : mode == 2;
    const QString place =
        makePrivate ? QStringLiteral("mnuEdithide_clk") : QStringLiteral("mnuEditvisivle_clk");
    int changed = 0;
    bool refused = false;
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        const FileError &result = results[i];
        if (result.ok()) {
            ++changed;
            if (leavesView)
                m_thumbnails->removeRows(rows[i], 1);
        } else if (result.number == FileErrorNumber::PathFileAccess) {
            refused = true;
        } else {
            LogError(place, ErrorRecord{result.number, QStringLiteral("Tabilo"),
                                        paths[i] + QStringLiteral(": ") + result.description});
        }
    }
    if (refused)
        prompter().message(PromptIcon::Critical, QStringLiteral("属性の変更失敗"),
                           QStringLiteral("属性の変更ができません。中断します。"),
                           PromptButtons::Ok);
    statusPanel(1)->setText(doneText(changed, makePrivate));
    ListView1_ItemClick(); // panel 2 tells the selected picture's new mark
}
