#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include "exif/filepatch.h"
#include "exif/steperror.h"

// The Orientation values a JPEG file holds in front of its picture, and
// setting them to 1 (upright) in place once the picture data itself has been
// turned upright: tag 0x0112 in IFD0 and IFD1 of the Exif APP1 segment
// (wherever it stands among the segments), and the tiff:Orientation of an XMP
// packet, written as an attribute or as an element. Each is one SHORT or one
// digit, so the file keeps its size and every other byte.

// The file's segments from SOI up to its first scan; empty when it does not
// begin as a JPEG. Only that much is read.
QByteArray readJpegHeader(const QString &path);

// The writes that set every Orientation value not already 1 to 1 (reading
// it is exifOrientation's, in exif/exiforientation.h).
QList<FilePatch> uprightPatches(QByteArrayView header);

// Applies uprightPatches to the file at path (a work file not yet in place)
// and syncs it.
StepError setOrientationUpright(const QString &path);
