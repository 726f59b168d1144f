#include "core/rotate/rotatebatch.h"

#include <QFileInfo>
#include <QSet>

#include "core/rotate/staleworkfiles.h"
#include "exif/buildahead.h"
#include "exif/filereadahead.h"

namespace
{

// The picture's turn: its backup folder, when each picture has its own, then
// the question or backup and the replace.
RotateFileResult placeInTurn(TurnedPicture turned, const RotateSettings &settings,
                             const RotatePorts &ports, const RotateBatchPorts &batchPorts)
{
    if (!settings.keepBackup || !batchPorts.backupFolderOf)
        return placeTurnedPicture(std::move(turned), settings, ports);
    RotateSettings own = settings;
    StepError error;
    own.backupFolder = batchPorts.backupFolderOf(turned.picture, error);
    if (error.failed)
        return {RotateOutcome::Failed, RotateStepFailed,
                QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞを作成できません: ") + error.description};
    return placeTurnedPicture(std::move(turned), own, ports);
}

void count(const RotateFileResult &result, RotateBatchSummary &summary)
{
    if (result.outcome == RotateOutcome::Turned)
        ++summary.turned;
    else if (result.outcome == RotateOutcome::Failed)
        ++summary.failed;
    else if (result.outcome == RotateOutcome::Declined)
        ++summary.declined;
    else if (result.outcome == RotateOutcome::Upright)
        ++summary.upright;
}

} // namespace

RotateBatchSummary rotateBatch(const QStringList &pictures, int total,
                               const RotateSettings &settings, const RotatePorts &ports,
                               const RotateBatchPorts &batchPorts)
{
    RotateBatchSummary summary;
    QSet<QString> folders;
    for (const QString &picture : pictures)
        folders.insert(QFileInfo(picture).path());
    for (const QString &folder : std::as_const(folders))
        removeStaleWorkFiles(folder);
    // Leaving the loop early destroys what was turned ahead, work files and all.
    BuildAhead<TurnedPicture> ahead(
        pictures.size(),
        [&](qsizetype i) { return turnPicture(pictures[i], settings, ports.velmorRot); },
        settings.workers > 0 ? settings.workers : buildAheadWorkers());
    FileReadAhead readAhead(pictures);
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        readAhead.reached(int(i));
        batchPorts.progress(int(i + 1), total);
        if (!batchPorts.keepRunning()) {
            summary.stopped = true;
            break;
        }
        const RotateFileResult result = placeInTurn(ahead.takeNext(), settings, ports, batchPorts);
        count(result, summary);
        batchPorts.fileDone(pictures[i], result);
    }
    return summary;
}
