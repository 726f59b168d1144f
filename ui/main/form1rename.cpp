#include "ui/main/form1.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>

#include "core/errorlog.h"
#include "core/paths.h"
#include "core/scan/thumbnaillistmodel.h"
#include "exif/workfile.h"
#include "platform/fileerror.h"
#include "platform/hiddenmarkcarrier.h"
#include "platform/prompter.h"
#include "ui/main/statuspanel.h"
#include "ui/rename/frmrename.h"

namespace
{

const QString kRenameErrorTitle = QStringLiteral("ﾌｧｲﾙ名の変更のｴﾗｰ");
const QString kNotRenamed = QStringLiteral("ﾌｧｲﾙ名は変更されませんでした。");
const QString kLogPlace = QStringLiteral("AfterLabelEdit ");

// The list's label editor: a plain line edit whose result goes to the window's after-edit
// handling (which renames the file) instead of into the list.
class LabelEditor : public QStyledItemDelegate
{
  public:
    explicit LabelEditor(Form1 *window) : QStyledItemDelegate(window), m_window(window) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        m_window->ListView1_BeforeLabelEdit(index.data(Qt::EditRole).toString());
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &) const override
    {
        if (const auto *line = qobject_cast<QLineEdit *>(editor))
            m_window->ListView1_AfterLabelEdit(line->text());
    }

  private:
    Form1 *m_window;
};

// A picture keeps its ".jpg" ending whatever its case: "a" becomes "a.jpg", "b.JPG" stays.
QString withJpgEnding(const QString &text)
{
    if (text.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
        return text;
    return text + QStringLiteral(".jpg");
}

// Why a new name is refused before any rename: bad characters (a line break would also break
// the ".hidden" list) are error 52; a leading "." would hide the picture under a name that
// can never be made public, error 75.
FileError checkInPlaceName(const QString &name)
{
    if (name.contains(u'\n') || name.contains(u'\r'))
        return fileError(FileErrorNumber::BadFileName, QStringLiteral("line break in the name"));
    if (name.startsWith(u'.'))
        return fileError(FileErrorNumber::PathFileAccess, QStringLiteral("leading \".\""));
    return checkNewFileName(name);
}

// The message for the errors the user can act on; empty for the others, which are logged.
QString renameErrorMessage(const QString &before, const QString &after, int number)
{
    const QString cannot = before + QStringLiteral("の名前を変更できません。");
    switch (number) {
    case FileErrorNumber::BadFileName:
    case FileErrorNumber::FileNotFound:
        return cannot + QStringLiteral("\r\n\r\n \\ / : , ; * ? \" < > | は使用できません。 ");
    case FileErrorNumber::FileAlreadyExists:
        return cannot + QStringLiteral(" \r\n\r\n") + after + QStringLiteral("は既に存在します");
    case FileErrorNumber::PathFileAccess:
        return cannot + QStringLiteral("\r\n\r\n パス名が正しくありません。");
    default:
        return QString();
    }
}

void logFileError(const QString &place, const FileError &error)
{
    LogError(place, ErrorRecord{error.number, QStringLiteral("Tabilo"), error.description});
}

} // namespace

void Form1::createFileNameParts()
{
    m_listView1->setItemDelegate(new LabelEditor(this));
    const QList<QPair<const char *, void (Form1::*)()>> commands = {
        {"mnuEditHide", &Form1::mnuEditHide_Click},
        {"mnuEditVisible", &Form1::mnuEditVisible_Click},
        {"mnuFileRenameOrigin", &Form1::mnuFileRenameOrigin_Click},
        {"mnuFileRename", &Form1::mnuFileRename_Click},
    };
    for (const auto &[name, handler] : commands)
        connect(command(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    // Off until a picture is selected; the command states switch them from then on.
    for (const char *name : {"mnuEditHide", "mnuEditVisible", "mnuFileRenameOrigin"})
        command(QString::fromLatin1(name))->setEnabled(false);
    createDropTarget();
}

void Form1::mnuFileRenameOrigin_Click()
{
    const int row = selectedRow();
    if (m_scanning || row < 0)
        return;
    const QModelIndex index = m_thumbnails->index(row);
    m_listView1->scrollTo(index);
    m_listView1->edit(index);
}

void Form1::ListView1_BeforeLabelEdit(const QString &name)
{
    m_nameBeforeEdit = name;
    statusPanel(1)->setText(QStringLiteral("ﾌｧｲﾙ名を変更できます。"));
}

// The edited picture is renamed in its folder, never over another file; its private mark goes
// with it. An empty or unchanged text abandons the edit.
void Form1::ListView1_AfterLabelEdit(const QString &newText)
{
    const QString before = m_nameBeforeEdit;
    const QString after = withJpgEnding(newText);
    if (newText.isEmpty() || after == before || m_file1Folder.isEmpty())
        return;
    if (refuseUnusableHiddenList(kRenameErrorTitle))
        return;
    const QString folder = withTrailingBackslash(m_file1Folder);
    HiddenMarkCarrier marks(folder);
    StepError markError;
    FileError error = checkInPlaceName(after);
    if (error.ok())
        error = fileErrorOf(marks.rename(
            before, after, [&] { return renameNoReplace(folder + before, folder + after); },
            markError));
    if (!error.ok()) {
        const QString message = renameErrorMessage(before, after, error.number);
        if (message.isEmpty())
            logFileError(kLogPlace, error);
        else
            prompter().message(PromptIcon::Critical, kRenameErrorTitle, message, PromptButtons::Ok);
        statusPanel(1)->setText(kNotRenamed);
        return;
    }
    if (markError.failed)
        logFileError(kLogPlace, fileErrorOf(markError));
    m_thumbnails->setName(m_thumbnails->rowOfName(before), after);
    ListView1_ItemClick(); // the current picture goes by its new name
    statusPanel(1)->setText(QStringLiteral("ﾌｧｲﾙ名を変更しました。"));
}

// The one rename dialog, kept between uses, over the list as it stands.
void Form1::mnuFileRename_Click()
{
    if (m_scanning || m_file1Folder.isEmpty() || refuseUnusableHiddenList(QStringLiteral("ﾘﾈｰﾑ")))
        return;
    auto *dialog = findChild<frmRename *>();
    if (!dialog)
        dialog = new frmRename(this);
    const std::optional<int> done = dialog->run(withTrailingBackslash(m_file1Folder), m_thumbnails);
    if (!done)
        return;
    ListView1_ItemClick(); // the current picture goes by its new name
    statusPanel(1)->setText(frmRename::statusText(*done));
}
