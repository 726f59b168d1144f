#pragma once

#include <QStringList>

// The subcommands of tabilo-cli, one per file. Each takes the arguments after its own name
// and returns the process exit status: 0 when the file was examined, kUsageStatus for a
// missing argument or a path that cannot be read.

constexpr int kUsageStatus = 2;

int runExifCommand(const QStringList &arguments);
int runThumbCommand(const QStringList &arguments);
int runJpegCommand(const QStringList &arguments);
int runInfoCommand(const QStringList &arguments);
int runConvertCommand(const QStringList &arguments);
int runRotateCommand(const QStringList &arguments);
int runRenameByDateCommand(const QStringList &arguments);
int runHideCommand(const QStringList &arguments);
int runShowCommand(const QStringList &arguments);
