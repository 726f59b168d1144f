#pragma once

#include <QByteArrayView>
#include <QString>

// How a picture is meant to be shown, from the Orientation tag (0x0112) in IFD0 of its Exif
// header, found wherever the Exif segment stands in front of the frame:
// 1 upright, 2 mirrored left-right, 3 turned half round, 4 mirrored top-bottom,
// 5 mirrored along the main diagonal (transposed), 6 to be turned a quarter right,
// 7 mirrored along the other diagonal (transversed), 8 to be turned a quarter left.
// A file without Exif or without the tag, one that cannot be read, and any value outside
// 1..8 read as 1. Reads only the header, never the picture data.
int exifOrientation(const QString &path);
// The same for a file already in memory.
int exifOrientationInBytes(QByteArrayView jpeg);
