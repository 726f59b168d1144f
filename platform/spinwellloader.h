#pragma once

#include <functional>

#include <QString>

// The rotation bridge libspinwell.so in the library folder, bound on the first
// rotation rather than at start, so that a missing library is reported where
// it is needed instead of ending the program.

using VelmorRotPort = std::function<qint32(const QString &, const QString &, qint32)>;

// velmorRot with paths as texts, or an empty function with the reason in
// *error when the library or its entry point is missing. Later calls return
// the binding of the first successful one.
VelmorRotPort loadVelmorRot(QString *error);
