#pragma once

#include <QString>
#include <QtGlobal>

// Questions about a JPEG file's structure, answered by walking its markers without decoding
// the picture. The walk reads 2-byte words from the start of the file; a segment is skipped
// to two bytes before its end (its last word is examined like any other word). Only the
// bytes the walk needs are read, never the picture data after the scan header.

struct JpegSize {
    qint32 width = 0;
    qint32 height = 0;
};

// Width and height from the first frame header; (0, 0) when the scan comes first, the file
// has no frame header or cannot be read.
JpegSize GetJpegSize(const QString &path);

// 0 baseline, 1 extended sequential, 2 progressive, 3 lossless; -1 when no frame header
// comes before the scan or the end of the file, or the file cannot be read.
qint16 GetJpegFrameType(const QString &path);

// 1 when the frame's width or height is not a multiple of 8, else 0 (also for a file without
// a frame header or one that cannot be read).
qint16 SizeNotMultipleOf8(const QString &path);

// 1-based file position of the first DQT marker, from which a new header can be put in front
// of the picture data; 0 when a baseline frame header or the scan comes first, no DQT is
// found, or the file cannot be read.
qint32 FindJpegBody(const QString &path);
