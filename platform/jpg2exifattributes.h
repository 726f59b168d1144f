#pragma once

#include "exif/jpgtoexifrun.h"

// The conversion run's ports with their attribute part met by this platform's
// file attributes; the caller sets the others.
Jpg2ExifPorts jpg2ExifAttributePorts();

// listPrivateAhead as a step of a run over files (a copy or move).
StepError listPrivateAheadStep(const QString &path, bool &listed);
