#pragma once

#include <QString>

// True when `path` names a regular file that this process can open for reading. The test
// opens without blocking, so a FIFO or a device never hangs it (neither is a file here); a
// missing or unreadable file, a folder, an empty or malformed path all give false.
bool FileExists(const QString &path);
