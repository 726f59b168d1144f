#include "core/rotate/rotatebatch.h"

RotateBatchSummary rotateBatch(const QStringList &pictures, int total,
                               const RotateSettings &settings, const RotatePorts &ports,
                               const RotateBatchPorts &batchPorts)
{
    RotateBatchSummary summary;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        batchPorts.progress(int(i + 1), total);
        if (!batchPorts.keepRunning()) {
            summary.stopped = true;
            break;
        }
        const RotateFileResult result = rotateOneFile(pictures[i], settings, ports);
        if (result.outcome == RotateOutcome::Turned)
            ++summary.turned;
        else if (result.outcome == RotateOutcome::Failed)
            ++summary.failed;
        else if (result.outcome == RotateOutcome::Declined)
            ++summary.declined;
        batchPorts.fileDone(pictures[i], result);
    }
    return summary;
}
