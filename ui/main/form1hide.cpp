#include "ui/main/form1.h"

#include <algorithm>

#include <QItemSelectionModel>
#include <QListView>

#include "core/errorlog.h"
#include "core/paths.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "platform/fileattributes.h"
#include "platform/hiddenlist.h"
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

const QString kAttributeErrorTitle = QStringLiteral("属性の変更失敗");

// The first of `paths` (in their order) that the command changes: the one after the last path
// that refuses with the path/file access error, where the command, going from the last up,
// stops.
qsizetype firstToChange(const QStringList &paths, bool makePrivate)
{
    for (qsizetype i = paths.size() - 1; i >= 0; --i) {
        if (checkHiddenMark(paths[i], makePrivate).number == FileErrorNumber::PathFileAccess)
            return i + 1;
    }
    return 0;
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

// One edit of the folder's ".hidden" for the whole selection. Items go from the last up, so
// the rows still to do keep their numbers; a path/file access error stops the command there
// without a status message, the items before it staying changed. Only a picture whose mark was
// set counts and leaves a view that no longer shows it.
void Form1::setSelectionPrivate(bool makePrivate)
{
    if (m_scanning || m_file1Folder.isEmpty() || refuseUnusableHiddenList(kAttributeErrorTitle))
        return;
    const QString folder = withTrailingBackslash(m_file1Folder);
    const QList<int> rows = selectedRowsInListOrder(m_listView1->selectionModel());
    QStringList paths;
    for (const int row : rows)
        paths.append(folder + m_thumbnails->name(row));
    const qsizetype first = firstToChange(paths, makePrivate);
    bool stopped = first > 0;
    const QList<FileError> results = setHiddenMarks(paths.mid(first), makePrivate);

    const int mode = appSettings().general.gVisibleMode;
    const bool leavesView = makePrivate ? mode == 1 : mode == 2;
    const QString place =
        makePrivate ? QStringLiteral("mnuEdithide_clk") : QStringLiteral("mnuEditvisivle_clk");
    int changed = 0;
    for (qsizetype i = results.size() - 1; i >= 0; --i) {
        const FileError &result = results[i];
        if (result.ok()) {
            ++changed;
            if (leavesView)
                m_thumbnails->removeRows(rows[first + i], 1);
        } else if (result.number == FileErrorNumber::PathFileAccess) {
            stopped = true;
        } else {
            LogError(place,
                     ErrorRecord{result.number, QStringLiteral("Tabilo"),
                                 paths[first + i] + QStringLiteral(": ") + result.description});
        }
    }
    ListView1_ItemClick(); // panel 2 tells the selected picture's new mark
    if (stopped) {
        prompter().message(PromptIcon::Critical, kAttributeErrorTitle,
                           QStringLiteral("属性の変更ができません。中断します。"),
                           PromptButtons::Ok);
        return;
    }
    statusPanel(1)->setText(doneText(changed, makePrivate));
}

bool Form1::refuseUnusableHiddenList(const QString &title)
{
    if (checkHiddenListFile(m_file1Folder).ok())
        return false;
    prompter().message(PromptIcon::Critical, title,
                       QStringLiteral("このﾌｫﾙﾀﾞの .hidden は通常のﾌｧｲﾙではないため、"
                                      "読み書きできません。中断します。"),
                       PromptButtons::Ok);
    statusPanel(1)->setText(QStringLiteral(".hidden が通常のﾌｧｲﾙではないため中断しました。"));
    return true;
}
