#include "ui/rotate/frmrotate.h"

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "core/errorlog.h"
#include "core/rotate/rotatebatch.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "platform/jpg2exifattributes.h"
#include "platform/prompter.h"

namespace
{

const QString kCancelCaption = QStringLiteral("ｷｬﾝｾﾙ");
const QString kAbortCaption = QStringLiteral("中断");

QStringList selectedPictures(const RotateTarget &target)
{
    QStringList pictures;
    for (int row = 0; row < target.model->rowCount(); ++row) {
        if (target.selection->isSelected(target.model->index(row)))
            pictures.append(target.folder + target.model->name(row));
    }
    return pictures;
}

} // namespace

void frmRotate::Cmd_OK_Click()
{
    Cmd_Setting->setEnabled(false);
    Cmd_OK->setEnabled(false);
    Cmd_Help->setEnabled(false);
    RotateSettings settings;
    if (!takeRunSettings(settings))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_singleRow >= 0)
        runSingle(settings);
    else
        runBatch(settings);
    QApplication::restoreOverrideCursor();
    reportFailures();
    accept();
}

// The backup choice and its folder are read together here, at the start of
// the run, so a change under the settings while the dialog was open cannot
// pair a backup with a folder that was never made.
bool frmRotate::takeRunSettings(RotateSettings &settings)
{
    settings.code = chosenCode();
    // The previews show the pictures as their Orientation says: the choice turns what they show.
    settings.asShown = appSettings().general.AutoOrient == 1;
    settings.quality = m_quality;
    settings.background = m_background;
    settings.keepBackup = appSettings().general.RotBackUp == 1;
    if (settings.keepBackup && !backupFolderReady(settings.backupFolder)) {
        Cmd_Setting->setEnabled(true);
        Cmd_Help->setEnabled(true);
        return false;
    }
    return true;
}

RotatePorts frmRotate::rotatePorts()
{
    const Jpg2ExifPorts attributes = jpg2ExifAttributePorts();
    return RotatePorts{
        m_velmorRot,
        [](const QString &) {
            return prompter().message(PromptIcon::Exclamation, QStringLiteral("ﾌｧｲﾙの上書き"),
                                      QStringLiteral("ﾌｧｲﾙを上書きします。よろしいですか？ "),
                                      PromptButtons::YesNo) == PromptAnswer::Yes;
        },
        [this] { stepProgress(); }, attributes.readAttributes, attributes.writeAttributes};
}

void frmRotate::runSingle(const RotateSettings &settings)
{
    Prb->setValue(0);
    const QString picture = m_target.folder + m_target.model->name(m_singleRow);
    fileDone(picture, rotateOneFile(picture, settings, rotatePorts()));
}

void frmRotate::runBatch(const RotateSettings &settings)
{
    PrbFiles->setRange(0, std::max(1, m_selectedCount));
    LblFileNumber->show();
    Cmd_Cancel->setText(kAbortCaption);
    m_inBatch = true;
    QCoreApplication::processEvents();
    RotateBatchPorts batchPorts;
    batchPorts.progress = [this](int number, int total) { showBatchProgress(number, total); };
    batchPorts.keepRunning = [this] { return !m_abort; };
    batchPorts.fileDone = [this](const QString &picture, const RotateFileResult &result) {
        fileDone(picture, result);
    };
    rotateBatch(selectedPictures(m_target), m_selectedCount, settings, rotatePorts(), batchPorts);
    m_inBatch = false;
    Cmd_Cancel->setText(kCancelCaption);
}

void frmRotate::showBatchProgress(int number, int total)
{
    Prb->setValue(0);
    PrbFiles->setValue(std::min(number, PrbFiles->maximum()));
    LblFileNumber->setText(QString::number(number) + QStringLiteral(" / ") +
                           QString::number(total) + QStringLiteral(" ﾌｧｲﾙ"));
    QCoreApplication::processEvents();
}

// A turned picture's entry is ghosted: its list picture is stale until the
// folder is read again. A failure is logged with its reason.
void frmRotate::fileDone(const QString &picture, const RotateFileResult &result)
{
    if (result.outcome == RotateOutcome::Turned) {
        ++m_turned;
        m_target.model->setGhosted(m_target.model->rowOfName(QFileInfo(picture).fileName()));
        if (!result.reason.isEmpty())
            LogError(QStringLiteral("frmRotate"),
                     ErrorRecord{result.code, QStringLiteral("Tabilo"),
                                 picture + QStringLiteral(": ") + result.reason});
    } else if (result.outcome == RotateOutcome::Failed) {
        m_failures.append(QFileInfo(picture).fileName() + QStringLiteral(": ") + result.reason);
        LogError(QStringLiteral("frmRotate"),
                 ErrorRecord{result.code, QStringLiteral("Tabilo"),
                             picture + QStringLiteral(": ") + result.reason});
    }
}

void frmRotate::stepProgress()
{
    Prb->setValue(std::min(Prb->value() + 1, Prb->maximum()));
}

void frmRotate::reportFailures()
{
    if (m_failures.isEmpty())
        return;
    QString text = QString::number(m_failures.size()) +
                   QStringLiteral(" ﾌｧｲﾙを回転できませんでした。\r\n\r\n");
    const int shown = std::min<int>(int(m_failures.size()), 10);
    text += m_failures.mid(0, shown).join(QStringLiteral("\r\n"));
    if (m_failures.size() > shown)
        text += QStringLiteral("\r\n...");
    prompter().message(PromptIcon::Exclamation, QStringLiteral("画像の回転"), text,
                       PromptButtons::Ok);
}
