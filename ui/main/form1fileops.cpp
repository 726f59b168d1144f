#include "ui/main/form1.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>

#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QListView>

#include "core/errorlog.h"
#include "core/fileops/filetransfer.h"
#include "core/paths.h"
#include "core/rotate/backupfolder.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "platform/fileattributes.h"
#include "platform/fileerror.h"
#include "platform/jpg2exifattributes.h"
#include "platform/prompter.h"
#include "platform/trash.h"
#include "ui/fileops/transferprogress.h"
#include "ui/main/statuspanel.h"
#include "ui/steperrorrecord.h"

namespace
{

const QString kChooserTitle = QStringLiteral("希望のフォルダを選択して下さい。");
const QString kDeleteTitle = QStringLiteral("ﾌｧｲﾙの削除");

// What differs between a copy and a move: the texts the user sees and the log's place label.
struct TransferTexts {
    QString questionTitle;
    QString verb;       // in "... へｺﾋﾟｰします。"
    QString backupVerb; // in "それらも同時に...されます。"
    QString progressTitle;
    QString place;
};

TransferTexts transferTexts(TransferKind kind)
{
    if (kind == TransferKind::Copy)
        return {QStringLiteral("ﾌｧｲﾙのｺﾋﾟｰ"), QStringLiteral("ｺﾋﾟｰ"), QStringLiteral("コピー"),
                QStringLiteral("ファイルのコピー"), QStringLiteral("copySelectedFiles")};
    return {QStringLiteral("ﾌｧｲﾙの移動"), QStringLiteral("移動"), QStringLiteral("移動"),
            QStringLiteral("ファイルの移動"), QStringLiteral("moveSelectedFiles")};
}

bool isGone(const QString &path)
{
    struct stat info {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

OverwriteAnswer askOverwrite(const TransferTexts &texts, const QString &target)
{
    switch (prompter().message(PromptIcon::Question, texts.questionTitle,
                               target + QStringLiteral(" は既に存在します。\r\n上書きしますか?"),
                               PromptButtons::YesAllNoCancel)) {
    case PromptAnswer::Yes:
        return OverwriteAnswer::Yes;
    case PromptAnswer::YesToAll:
        return OverwriteAnswer::YesToAll;
    case PromptAnswer::No:
        return OverwriteAnswer::No;
    default:
        return OverwriteAnswer::Cancel;
    }
}

// Refuses a destination that is the pictures' own folder, then asks the command's question.
bool confirmTransfer(const TransferTexts &texts, const TransferRequest &request)
{
    const QString &destination = request.destination;
    if (destinationIsOwnFolder(request)) {
        prompter().message(PromptIcon::Exclamation, texts.questionTitle,
                           destination + QStringLiteral(" は選択したﾌｧｲﾙのﾌｫﾙﾀﾞです。\r\n") +
                               texts.verb + QStringLiteral("できません。"),
                           PromptButtons::Ok);
        return false;
    }
    const QString question = QStringLiteral("選択したﾌｧｲﾙを ") + destination +
                             QStringLiteral(" へ") + texts.verb +
                             QStringLiteral("します。\r\nバックアップファイルがある場合は\r\n"
                                            "それらも同時に") +
                             texts.backupVerb + QStringLiteral("されます。");
    return prompter().message(PromptIcon::Question, texts.questionTitle, question,
                              PromptButtons::YesNo) == PromptAnswer::Yes;
}

TransferSummary runTransfer(const TransferRequest &request, const TransferTexts &texts,
                            QWidget *owner)
{
    TransferProgress progress(texts.progressTitle, int(request.names.size()), owner);
    const Jpg2ExifPorts attributes = jpg2ExifAttributePorts();
    TransferPorts ports;
    ports.progress = [&](int number, int) { progress.show(number, request.names.at(number - 1)); };
    ports.keepRunning = [&progress] { return !progress.cancelled(); };
    ports.askOverwrite = [&texts](const QString &target) { return askOverwrite(texts, target); };
    ports.readAttributes = attributes.readAttributes;
    ports.writeAttributes = attributes.writeAttributes;
    ports.listPrivateAhead = listPrivateAheadStep;
    ports.forgetHiddenEntry = [](const QString &path) { forgetHiddenEntry(path); };
    ports.failed = [&texts](const QString &, const StepError &error) {
        LogError(texts.place, errorRecordOf(error));
    };
    return transferPictures(request, ports);
}

} // namespace

// Off until the list has a selection; the command states switch them from then on.
void Form1::connectFileCommands()
{
    for (const char *name : {"mnuFileCopy", "mnuFileMove", "mnuFileDel"})
        command(QString::fromLatin1(name))->setEnabled(false);
    connect(command(QStringLiteral("mnuFileCopy")), &QAction::triggered, this, [this] {
        showCommandResult(transferSelectedFiles(FileCommand::Copy),
                          QStringLiteral(" ﾌｧｲﾙをCOPYしました。"));
    });
    connect(command(QStringLiteral("mnuFileMove")), &QAction::triggered, this, [this] {
        showCommandResult(transferSelectedFiles(FileCommand::Move),
                          QStringLiteral(" ﾌｧｲﾙを移動しました。"));
    });
    connect(command(QStringLiteral("mnuFileDel")), &QAction::triggered, this, [this] {
        showCommandResult(deleteSelectedFiles(), QStringLiteral(" ﾌｧｲﾙを削除しました。"));
    });
}

void Form1::showCommandResult(int count, const QString &text)
{
    statusPanel(1)->setText(QStringLiteral(" ") + QString::number(count) + text);
}

// The selected rows in list order, taken before any file is touched.
QList<int> Form1::selectionSnapshot() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_listView1->selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Rows whose files are no longer in the folder leave the list, from the last one up so that
// the rows still to visit keep their numbers.
void Form1::removeGoneRows(const QList<int> &rows)
{
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        if (isGone(withTrailingBackslash(m_file1Folder) + m_thumbnails->name(*row)))
            m_thumbnails->removeRows(*row, 1);
    }
}

// A backup folder name that is not one plain name could point anywhere: no backups travel then.
QString Form1::travellingBackupFolderName(const QString &place) const
{
    const QString name = appSettings().general.RotBackUpFolder;
    if (isPlainFolderName(name))
        return name;
    LogError(place,
             ErrorRecord{FileErrorNumber::BadFileName, QStringLiteral("Tabilo"),
                         name + QStringLiteral(": バックアップフォルダ名が正しくありません。")});
    return QString();
}

// Returns the number of pictures that arrived at the destination.
int Form1::transferSelectedFiles(FileCommand which)
{
    const TransferKind kind = which == FileCommand::Copy ? TransferKind::Copy : TransferKind::Move;
    if (m_scanning || m_file1Folder.isEmpty() || selectionSnapshot().isEmpty())
        return 0;
    const TransferTexts texts = transferTexts(kind);
    const QString destination = prompter().chooseFolder(kChooserTitle, m_lastDestination);
    if (destination.isEmpty())
        return 0;
    m_lastDestination = destination;

    TransferRequest request{
        kind, m_file1Folder, {}, destination, travellingBackupFolderName(texts.place)};
    if (!confirmTransfer(texts, request))
        return 0;

    const QList<int> rows = selectionSnapshot();
    for (const int row : rows)
        request.names.append(m_thumbnails->name(row));
    const TransferSummary summary = runTransfer(request, texts, this);
    if (kind == TransferKind::Move)
        removeGoneRows(rows);
    return summary.done;
}

// To the desktop's trash, after one question for the whole batch. Backups stay where they are.
int Form1::deleteSelectedFiles()
{
    if (m_scanning || m_file1Folder.isEmpty())
        return 0;
    const QList<int> rows = selectionSnapshot();
    if (rows.isEmpty())
        return 0;
    const QString question = QStringLiteral("選択した ") + QString::number(rows.size()) +
                             QStringLiteral(" 個のﾌｧｲﾙをごみ箱に移動します。\r\nよろしいですか?");
    if (prompter().message(PromptIcon::Question, kDeleteTitle, question, PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return 0;
    int deleted = 0;
    for (const int row : rows) {
        const QString path = withTrailingBackslash(m_file1Folder) + m_thumbnails->name(row);
        const FileError error = moveToTrash(path);
        if (error.ok())
            ++deleted;
        else
            LogError(QStringLiteral("deleteSelectedFiles"),
                     ErrorRecord{error.number, QStringLiteral("Tabilo"),
                                 path + QStringLiteral(": ") + error.description});
    }
    removeGoneRows(rows);
    return deleted;
}
