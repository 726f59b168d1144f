#pragma once

#include <functional>

#include <QColor>
#include <QString>

// Repairs the Exif header of a picture the rotation engine has turned: the
// header still describes the unturned picture. TransplantExif writes a new
// file made of the turned file's header with a freshly drawn 160 x 120
// thumbnail of the turned picture and the new pixel width and height, and the
// turned file's picture data, copied byte for byte.
//
// Nothing the header points to is lost. When nothing but padding follows the
// old thumbnail inside the APP1 segment, the new one takes its place; when
// anything does (the Exif IFD, maker-note data, a preview image), every byte
// of the segment stays where it was and the new thumbnail goes at its end,
// with JPEGInterchangeFormat pointing to it. The Exif APP1 is found wherever
// it stands in front of the frame; every other segment (JFIF, ICC profiles,
// XMP, IPTC, Adobe, comments, tables), in front of it or behind it, is kept
// byte for byte, and so is everything behind the APP1. Pixel sizes are written
// in their entries' own type and the file's byte order.

enum TransplantResult : qint32 {
    TransplantDone = 0,
    TransplantNotExif = 100,  // no usable Exif header, no IFD1 or no thumbnail fields
    TransplantNoHeader = 101, // the thumbnail does not lie inside the header
    TransplantNoThumb = 102,  // the turned picture cannot be decoded or the thumbnail encoded
    TransplantNoWrite = 103,  // the header grows past 65,535 bytes, or the output is not written
};

// The output is written and synced at outputPath (replacing a file there,
// never following a link); the turned file is only read. stepProgress is
// called before each of the six steps. The thumbnail is encoded at quality
// (90, 80, 70) with background in the margins of a picture that is not 4:3.
qint32 TransplantExif(const QString &turnedPath, const QString &outputPath, quint8 quality,
                      const QColor &background, const std::function<void()> &stepProgress);
