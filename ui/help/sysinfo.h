#pragma once

#include <QString>
#include <QStringList>

// The desktop's system-information tools, in the order they are tried.
QStringList systemInformationTools();

// The full path of the first installed system-information tool, or empty.
QString findSystemInformationTool();

// Starts the system-information tool and returns at once; when none is
// installed or it cannot be started, tells the user so. Returns whether a
// tool was started.
bool StartSysInfo();
