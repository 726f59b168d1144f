#pragma once

#include <QString>

#include "platform/fileerror.h"

// Handing a picture to the user's external program (ExProgram0..2, chosen by
// ExProSW). The viewer's menus and the main window (double click with
// ExProDirect, its pop-up item) use the same command.

// The program path chosen by ExProSW; empty when none is set or ExProSW is
// out of range.
QString chosenExternalProgram();

// The file `program` (as the user entered it) starts: a bare name is looked up
// on PATH, as a shell would, a path with a folder is taken as it is. Empty when
// there is no such file or it cannot be run.
QString findExternalProgram(const QString &program);

// Starts `program` (as the user entered it) as a separate process with one
// argument, the full picture path, and does not wait for it. An empty program
// is error 5; a program that does not exist or cannot be run is error 53.
FileError startExternalProgram(const QString &program, const QString &picturePath);

// Tells the user about a failed start: errors 5 and 53 by message box (53
// with an empty program reads as 5), anything else in the error log under
// "mnuFileEX". Success shows nothing.
void reportExternalProgramResult(const FileError &result, const QString &program);

// The whole command: start the chosen program on `picturePath` and report the
// outcome. Returns the error number, 0 on success.
int runExternalProgram(const QString &picturePath);
