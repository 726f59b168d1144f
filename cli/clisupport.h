#pragma once

#include <QByteArray>
#include <QString>

// Output and argument checks shared by the subcommands of tabilo-cli.

// Writes `line` and a line feed to standard output as UTF-8.
void printLine(const QString &line);
void printLine(const QByteArray &utf8Line);

// Writes "tabilo-cli: <message>" to standard error.
void printError(const QString &message);

// printError, then returns the usage exit status.
int failUsage(const QString &message);

// True when `path` names a regular file this process can open for reading; otherwise writes
// why to standard error.
bool checkReadableFile(const QString &path);
