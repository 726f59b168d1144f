#include "ui/rotate/frmrotate.h"

#include <algorithm>

#include <QApplication>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStorageInfo>

#include "core/rotate/backupfolder.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/colorref.h"
#include "core/settings/settings.h"
#include "exif/jpgsize.h"
#include "platform/prompter.h"
#include "platform/tempfolder.h"
#include "ui/rotate/rotatepreviews.h"
#include "ui/rotate/samplepictures.h"

namespace
{

constexpr quint8 kQualities[3] = {90, 80, 70};
const QColor kGuidance(0, 0, 0);
const QColor kWarning(0, 0, 255);
const QColor kRefusal(255, 0, 0);

const QString kStopLine = QStringLiteral("\n処理を中断します。");
const QString kBaselineOnly =
    QStringLiteral("本ﾌﾟﾛｸﾞﾗﾑでは、基本DCT方式以外のJPGﾌｧｲﾙは処理できません。");
const QString kBackupTitle = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞ作成のｴﾗｰ");
const QString kBackupNotMade = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞが作成できません。");
const QString kBadNameLine = QStringLiteral(" \\ / : , ; * ? \" < > | は使用できません。 ");

quint8 qualityOf(qint32 rotThumbVal)
{
    return rotThumbVal >= 0 && rotThumbVal < 3 ? kQualities[rotThumbVal] : kQualities[0];
}

QList<int> selectedRows(const QItemSelectionModel *selection)
{
    QList<int> rows;
    if (!selection)
        return rows;
    for (const QModelIndex &index : selection->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

void frmRotate::openDialog(const BridgeLoader &loadBridge)
{
    const GeneralSettings &general = appSettings().general;
    m_quality = qualityOf(general.RotThumbVal);
    m_background = colorFromColorRef(general.RotThumbBackColor, palette());
    const QList<int> rows = selectedRows(m_target.selection);
    m_selectedCount = int(rows.size());
    m_singleRow = m_selectedCount == 1 ? rows.constFirst() : -1;
    arrangePreviews();

    QString backupFolder;
    if (!folderWritable() || !bridgeBound(loadBridge) ||
        (general.RotBackUp == 1 && !backupFolderReady(backupFolder)))
        return;
    if (m_singleRow >= 0)
        prepareSingle(m_singleRow);
    else
        prepareBatch();
}

bool frmRotate::folderWritable()
{
    const QStorageInfo storage(m_target.folder);
    if (!storage.isValid() || !storage.isReadOnly())
        return true;
    refuse(QStringLiteral("このﾌｫﾙﾀﾞ(CD-ROM)には書き込みができません。") + kStopLine);
    return false;
}

// The bridge is bound on the first rotation; a missing library is reported here.
bool frmRotate::bridgeBound(const BridgeLoader &loadBridge)
{
    QString error;
    m_velmorRot = loadBridge(&error);
    if (m_velmorRot)
        return true;
    prompter().message(PromptIcon::Critical, QStringLiteral("回転ﾗｲﾌﾞﾗﾘのｴﾗｰ"),
                       QStringLiteral("回転ﾗｲﾌﾞﾗﾘ(libspinwell.so)が読み込めません。\r\n\r\n") +
                           error,
                       PromptButtons::Ok);
    refuse(QStringLiteral("回転ﾗｲﾌﾞﾗﾘが読み込めません。") + kStopLine);
    return false;
}

// The backup folder must be a real sub-folder with a plain name; a bad name is
// replaced by "ORIGINAL" for the next try.
bool frmRotate::backupFolderReady(QString &backupFolder)
{
    GeneralSettings &general = appSettings().general;
    QString folder = m_target.folder;
    if (folder.endsWith(u'/') && folder.size() > 1)
        folder.chop(1);
    const BackupFolder backup = makeBackupFolder(folder, general.RotBackUpFolder);
    if (backup.state == BackupFolderState::Ready) {
        backupFolder = backup.path;
        return true;
    }
    if (backup.state == BackupFolderState::BadName) {
        prompter().message(PromptIcon::Critical, kBackupTitle,
                           kBackupNotMade + QStringLiteral("\r\n\r\n") + kBadNameLine,
                           PromptButtons::Ok);
        general.RotBackUpFolder = QStringLiteral("ORIGINAL");
    } else {
        prompter().message(PromptIcon::Critical, kBackupTitle, kBackupNotMade, PromptButtons::Ok);
    }
    refuse(kBackupNotMade + kStopLine);
    return false;
}

void frmRotate::prepareSingle(int row)
{
    const QString name = m_target.model->name(row);
    const QString picture = m_target.folder + name;
    setWindowTitle(QStringLiteral("画像の回転 - ") + name);
    showInfo(QStringLiteral("画像を選択し、実行ﾎﾞﾀﾝを押して下さい。\n"
                            "「回転なし」はｻﾑﾈｲﾙの再生成を行います。"),
             kGuidance);
    if (!QFileInfo(picture).isFile()) {
        refuse(name + QStringLiteral(" が見つかりません。"));
        return;
    }
    const RotatePreviews previews =
        makeRotatePreviews(picture, temporaryFolder(), m_quality, m_background,
                           appSettings().general.AutoOrient == 1, m_velmorRot);
    for (int code = 0; code < 4; ++code) {
        if (!previews.images[code].isNull())
            ImgThm[code]->setPixmap(QPixmap::fromImage(previews.images[code]));
    }
    if (previews.failed) {
        prompter().message(PromptIcon::Critical, QStringLiteral("原因不明ののｴﾗｰ"),
                           QStringLiteral("原因不明のｴﾗｰです。作者までご連絡ください。"),
                           PromptButtons::Ok);
        Cmd_OK->setEnabled(false);
        return;
    }
    if (SizeNotMultipleOf8(picture) == 1)
        showInfo(QStringLiteral("画像の幅又は、高さがMCU単位(8の倍数)になっていないため、"
                                "回転後の画像端が乱れます。"),
                 kWarning);
    if (GetJpegFrameType(picture) != 0)
        refuse(kBaselineOnly);
    else
        Cmd_OK->setEnabled(true);
}

void frmRotate::prepareBatch()
{
    setWindowTitle(QStringLiteral("画像の一括回転 "));
    for (int code = 0; code < 4; ++code)
        ImgThm[code]->setPixmap(QPixmap::fromImage(rotationSample(code, kPreviewSide)));
    if (m_selectedCount == 0) {
        refuse(QStringLiteral("回転する画像が選択されていません。\n"
                              "一覧で画像を選択してから実行して下さい。"));
        return;
    }
    int count = 0;
    for (const int row : selectedRows(m_target.selection)) {
        const QString picture = m_target.folder + m_target.model->name(row);
        if (!QFileInfo(picture).isFile())
            continue;
        if (GetJpegFrameType(picture) != 0 || m_target.model->isGhosted(row)) {
            m_target.selection->select(m_target.model->index(row), QItemSelectionModel::Deselect);
            m_target.model->invertTextColor(row);
        } else {
            ++count;
        }
    }
    if (count < 1) {
        refuse(kBaselineOnly);
        return;
    }
    showInfo(QString::number(count) + QStringLiteral(" 画像を一括で回転します。\n"
                                                     "回転させたい方向を選択し、"
                                                     "実行ﾎﾞﾀﾝを押してください。"),
             kGuidance);
    Cmd_OK->setEnabled(true);
}

void frmRotate::showInfo(const QString &text, const QColor &color)
{
    LblInfo->setText(text);
    QPalette look = LblInfo->palette();
    look.setColor(QPalette::WindowText, color);
    LblInfo->setPalette(look);
}

void frmRotate::refuse(const QString &text)
{
    showInfo(text, kRefusal);
    QApplication::beep();
    Cmd_OK->setEnabled(false);
}
