#include "ui/viewer/externalprogram.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "core/errorlog.h"
#include "core/settings/settings.h"
#include "platform/prompter.h"

namespace
{
const QString errorTitle = QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑの実行ｴﾗｰ");

void showNotSetMessage()
{
    prompter().message(PromptIcon::Critical, errorTitle,
                       QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑが設定されていません。"
                                      "\"ﾌｧｲﾙ\"－\"ｵﾌﾟｼｮﾝ\" で設定して下さい。"),
                       PromptButtons::Ok);
}

void showCannotRunMessage(const QString &program)
{
    prompter().message(PromptIcon::Critical, errorTitle,
                       QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑが実行できません。 ") + program +
                           QStringLiteral(" が正しいか確認して下さい。"),
                       PromptButtons::Ok);
}
} // namespace

QString findExternalProgram(const QString &program)
{
    if (program.isEmpty())
        return QString();
    if (!program.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(program);
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

QString chosenExternalProgram()
{
    const ExProgramSettings &settings = appSettings().exProgram;
    if (settings.ExProSW < 0 || settings.ExProSW >= int(settings.ExProgram.size()))
        return QString();
    return settings.ExProgram[size_t(settings.ExProSW)];
}

FileError startExternalProgram(const QString &program, const QString &picturePath)
{
    if (program.isEmpty())
        return fileError(FileErrorNumber::InvalidCall, QStringLiteral("no program is set"));
    const QString executable = findExternalProgram(program);
    if (executable.isEmpty())
        return fileError(FileErrorNumber::FileNotFound,
                         QStringLiteral("%1: no such program").arg(program));
    QProcess process;
    process.setProgram(executable);
    process.setArguments({picturePath});
    if (!process.startDetached())
        return fileError(FileErrorNumber::FileNotFound, process.errorString());
    return FileError{};
}

void reportExternalProgramResult(const FileError &result, const QString &program)
{
    switch (result.number) {
    case 0:
        return;
    case FileErrorNumber::InvalidCall:
        showNotSetMessage();
        return;
    case FileErrorNumber::FileNotFound:
        if (program.isEmpty())
            showNotSetMessage();
        else
            showCannotRunMessage(program);
        return;
    default:
        LogError(QStringLiteral("mnuFileEX"),
                 ErrorRecord{result.number, QStringLiteral("Tabilo"), result.description});
    }
}

int runExternalProgram(const QString &picturePath)
{
    const QString program = chosenExternalProgram();
    const FileError result = startExternalProgram(program, picturePath);
    reportExternalProgramResult(result, program);
    return result.number;
}
