#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a desktop tool reported: whether it ran and ended with exit code 0, and what it
// printed.
struct CommandResult {
    bool succeeded = false;
    QByteArray output;
    QString problem; // why it failed, for the user; empty on success
};

// Runs desktop tools (gsettings, xfconf-query ...) and waits for them. Tests install a
// recording runner in place of the real one.
class CommandRunner
{
  public:
    virtual ~CommandRunner() = default;
    virtual CommandResult run(const QString &program, const QStringList &arguments) = 0;
};

// The process-wide runner: the one installed, or one that starts real processes.
CommandRunner &commandRunner();

// Installs `runner` (not owned; it must outlive its use). nullptr restores the real one.
void setCommandRunner(CommandRunner *runner);
