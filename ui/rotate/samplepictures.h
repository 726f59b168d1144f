#pragma once

#include <QImage>

// The pictures batch mode shows in its four previews, where there is no one
// picture to turn: a letter on a slanted card, turned the way each direction
// (0 none, 1 clockwise, 2 half turn, 3 counter-clockwise) would turn it.
QImage rotationSample(int code, int side);
