#include "cli/clisupport.h"
#include "cli/commands.h"

#include <QFileInfo>

#include "core/rotate/backupfolder.h"
#include "core/rotate/rotatebatch.h"
#include "platform/jpg2exifattributes.h"
#include "platform/spinwellloader.h"

namespace
{

const QString kUsage =
    QStringLiteral("usage: tabilo-cli rotate --code 0|1|2|3 | --auto [--no-backup] FILE...");
const QString kBackupFolderName = QStringLiteral("Original");

QString resultLine(const QString &picture, const RotateFileResult &result)
{
    QString line = picture + QStringLiteral(": ") + QString::number(result.code);
    if (result.outcome == RotateOutcome::Missing)
        line += QStringLiteral(" (no such file)");
    else if (result.outcome == RotateOutcome::Upright)
        line += QStringLiteral(" (upright already: left as it was)");
    else if (!result.reason.isEmpty())
        line += QStringLiteral(" (") + result.reason + u')';
    return line;
}

// The backup folder of each picture's folder, made at the picture's turn.
QString backupFolderOf(const QString &picture, StepError &error)
{
    const BackupFolder backup =
        makeBackupFolder(QFileInfo(picture).absolutePath(), kBackupFolderName);
    error = backup.error; // set whenever the folder is not ready
    return backup.path;
}

} // namespace

// tabilo-cli rotate --code 0|1|2|3 | --auto [--no-backup] FILE...: turns pictures losslessly,
// as they are shown (after their Exif Orientation, which then reads 1), with a regenerated
// thumbnail, as the rotation dialog does; --auto makes each picture upright and leaves one that
// is upright already as it is. Keeps each original in the folder "Original" beside it unless
// --no-backup, and prints "FILE: RESULT" per file (0 turned or left upright). Exit status 0 when
// every file was turned or left upright, 1 when one was not.
int runRotateCommand(const QStringList &arguments)
{
    RotateSettings settings;
    settings.asShown = true;
    bool codeGiven = false;
    QStringList pictures;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--no-backup")) {
            settings.keepBackup = false;
        } else if (argument == QLatin1String("--code") && i + 1 < arguments.size()) {
            bool ok = false;
            settings.code = arguments[++i].toInt(&ok);
            if (!ok || settings.code < 0 || settings.code > 3)
                return failUsage(kUsage);
            codeGiven = true;
        } else if (argument == QLatin1String("--auto")) {
            settings.leaveUpright = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return failUsage(kUsage);
        } else {
            pictures.append(QFileInfo(argument).absoluteFilePath());
        }
    }
    if (codeGiven == settings.leaveUpright || pictures.isEmpty())
        return failUsage(kUsage);
    QString error;
    const VelmorRotPort velmorRot = loadVelmorRot(&error);
    if (!velmorRot)
        return failUsage(QStringLiteral("the rotation library cannot be loaded: ") + error);

    const Jpg2ExifPorts attributes = jpg2ExifAttributePorts();
    const RotatePorts ports{velmorRot, [](const QString &) { return true; }, [] {},
                            attributes.readAttributes, attributes.writeAttributes};
    const RotateBatchPorts batchPorts{[](int, int) {}, [] { return true; },
                                      [](const QString &picture, const RotateFileResult &result) {
                                          printLine(resultLine(picture, result));
                                      },
                                      backupFolderOf};
    const RotateBatchSummary summary =
        rotateBatch(pictures, int(pictures.size()), settings, ports, batchPorts);
    return summary.turned + summary.upright == pictures.size() ? 0 : 1;
}
