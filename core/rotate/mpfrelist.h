#pragma once

#include <QString>

#include "exif/steperror.h"

// The engine lists the pictures stored after a turned picture in its MPF
// index where they lie in the engine's output. The Exif transplant then gives
// the main picture a header of another size, which moves everything after it;
// this rewrites the index of the transplant's output (a work file not yet in
// place) to match: the main picture's new size, and offsets that account for
// how far the index itself and the pictures after the main one moved.
StepError relistMpfPictures(const QString &turned, const QString &transplanted);
