#include "platform/wallpaper/commandrunner.h"

#include <QProcess>

namespace
{

// A desktop tool answers at once; one that hangs must not hang the program with it.
constexpr int kWaitMilliseconds = 15000;

class ProcessRunner : public CommandRunner
{
  public:
    CommandResult run(const QString &program, const QStringList &arguments) override
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(kWaitMilliseconds)) {
            process.kill();
            process.waitForFinished();
            return {false, {}, program + QStringLiteral(": ") + process.errorString()};
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
            return {false, {}, program + QStringLiteral(": ") + said};
        }
        return {true, process.readAllStandardOutput(), {}};
    }
};

CommandRunner *installedRunner = nullptr;

} // namespace

CommandRunner &commandRunner()
{
    static ProcessRunner processRunner;
    return installedRunner ? *installedRunner : processRunner;
}

void setCommandRunner(CommandRunner *runner)
{
    installedRunner = runner;
}
