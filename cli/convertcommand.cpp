#include "cli/clisupport.h"
#include "cli/commands.h"

#include <QSet>
#include <QTextStream>

#include "exif/jpgtoexifrun.h"
#include "platform/jpg2exifattributes.h"
#include "platform/tempfolder.h"

namespace
{

const QString kUsage =
    QStringLiteral("usage: tabilo-cli convert [--quality 90|80|70] [--backup] FILE...");

QString endReason(Jpg2ExifEnd end)
{
    switch (end) {
    case Jpg2ExifEnd::WriteDenied:
        return QStringLiteral("the folder cannot be written");
    case Jpg2ExifEnd::BackupExists:
        return QStringLiteral("a backup name was taken");
    default:
        return QStringLiteral("the run was stopped");
    }
}

} // namespace

// tabilo-cli convert [--quality 90|80|70] [--backup] FILE...: converts plain JPEG files into
// Exif files in place, as the conversion dialog does, and prints one line per file. Exit
// status 0 when no file failed, 1 when one did.
int runConvertCommand(const QStringList &arguments)
{
    Jpg2ExifOptions options;
    QStringList paths;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--backup")) {
            options.keepBackup = true;
        } else if (argument == QLatin1String("--quality") && i + 1 < arguments.size()) {
            const int quality = arguments[++i].toInt();
            if (quality != 90 && quality != 80 && quality != 70)
                return failUsage(kUsage);
            options.quality = quint8(quality);
        } else if (argument.startsWith(QLatin1String("--"))) {
            return failUsage(kUsage);
        } else {
            paths.append(argument);
        }
    }
    if (paths.isEmpty())
        return failUsage(kUsage);
    options.workFolder = temporaryFolder();
    if (options.workFolder.isEmpty())
        return failUsage(QStringLiteral("no private temporary folder could be created"));

    bool anyFailed = false;
    QSet<QString> reported;
    Jpg2ExifPorts ports = jpg2ExifAttributePorts();
    ports.log = [](const QString &label, const StepError &error) {
        QTextStream(stderr) << "tabilo-cli: " << label << ": " << error.description << '\n';
    };
    ports.progress = [](int, int) {};
    ports.keepRunning = [] { return true; };
    ports.fileDone = [&](const QString &path, Jpg2ExifOutcome outcome, const QString &reason) {
        reported.insert(path);
        if (outcome == Jpg2ExifOutcome::Converted)
            printLine(QStringLiteral("converted: ") + path);
        else if (outcome == Jpg2ExifOutcome::AlreadyExif)
            printLine(QStringLiteral("skipped: ") + path + QStringLiteral(" (already Exif)"));
        else
            printLine(QStringLiteral("failed: ") + path + QStringLiteral(": ") + reason);
        anyFailed = anyFailed || outcome == Jpg2ExifOutcome::Failed;
    };
    const Jpg2ExifResult result = runJpg2Exif(paths, options, ports);
    for (const QString &path : paths) {
        if (!reported.contains(path)) {
            printLine(QStringLiteral("failed: ") + path + QStringLiteral(": not converted, ") +
                      endReason(result.end));
            anyFailed = true;
        }
    }
    return anyFailed ? 1 : 0;
}
