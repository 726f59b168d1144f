#pragma once

#include <QString>

// The hidden work files of a turn (".NAME.turn-PID-N-with", "-without") and
// of the bridge (".NAME.spinwell-PID-N") that a killed run left behind.

// Removes from folder the work files of those two namings whose process no
// longer exists. A live process's files (this one's included) and every other
// name stay; so does a process that cannot be asked (another user's).
void removeStaleWorkFiles(const QString &folder);
