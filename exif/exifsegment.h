#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

class FileByteReader;

// Where a JPEG file keeps its Exif header: the first APP1 segment that starts with
// "Exif\0", looked for among the segments in front of the frame header. Cameras put it right
// behind the SOI marker, but JFIF writers, editors and colour-managed programs put a JFIF
// APP0, an ICC profile, an XMP APP1 or a comment in front of it. Every TIFF offset inside
// the segment counts from its own byte-order mark, tiffBase().
struct ExifSegment {
    qint64 start = 0; // offset of the segment's FF E1 marker
    qint64 end = 0;   // just past the segment as its length says (may lie past a cut-short file)

    qint64 tiffBase() const { return start + kTiffBaseInSegment; }
    // Marker, length, "Exif" and two zero bytes.
    static constexpr qint64 kTiffBaseInSegment = 10;
};

// The walk stops at the frame header, a scan, EOI, a segment that does not start with FF, or
// after kMaxWalkSteps segments and fill bytes: a hostile chain of tiny segments or a run of
// fill bytes costs no more than that.
inline constexpr int kMaxWalkSteps = 4096;

// Whether segment (marker, length and payload) is an Exif APP1.
bool isExifApp1(QByteArrayView segment);

// No value when the bytes do not start with SOI or hold no Exif APP1 before the frame.
std::optional<ExifSegment> findExifSegment(QByteArrayView jpeg);
// The same walk over a file; a segment that lies beyond the bytes the reader holds costs one
// small read.
std::optional<ExifSegment> findExifSegment(FileByteReader &file);
