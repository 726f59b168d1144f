#include "ui/help/sysinfo.h"

#include <QProcess>
#include <QStandardPaths>

#include "platform/prompter.h"

QStringList systemInformationTools()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
            QStringLiteral("ksysguard"), QStringLiteral("plasma-systemmonitor")};
}

QString findSystemInformationTool()
{
    for (const QString &tool : systemInformationTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool StartSysInfo()
{
    const QString tool = findSystemInformationTool();
    if (!tool.isEmpty() && QProcess::startDetached(tool, {}))
        return true;
    prompter().message(PromptIcon::None, QString(),
                       QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), PromptButtons::Ok);
    return false;
}
