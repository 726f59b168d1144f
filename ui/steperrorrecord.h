#pragma once

#include "core/errorlog.h"
#include "exif/steperror.h"

// The error log record of a failed write step: the number a lower layer chose, else the file
// error number of its errno, else an invalid call; the step's own text.
ErrorRecord errorRecordOf(const StepError &error);
