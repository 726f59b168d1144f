#pragma once

#include <QtGlobal>

// The lossless transforms as the engine numbers them (0 none, 1 a quarter turn
// clockwise, 2 a half turn, 3 a quarter turn counter-clockwise, 4 flip
// left-right, 5 flip top-bottom, 6 transpose, 7 transverse), composed in the
// group of the square's eight symmetries.

// The transform that shows a picture whose Exif Orientation is orientation
// (1-8; any other value counts as 1) as that tag says it is to be shown.
qint32 uprightTransform(int orientation);

// The one transform that applies first, then second.
qint32 composeTransforms(qint32 first, qint32 second);

// The transform that turns a picture with that Orientation by turn (0-3) as
// it is shown: upright first, then the turn.
qint32 turnAsShown(int orientation, qint32 turn);
