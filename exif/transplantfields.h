#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

#include "exif/bytereader.h"

// Where the Exif transplant finds what it rewrites in a file's Exif APP1
// segment, wherever it stands in front of the frame. Positions are file offsets
// of 4-byte value fields; each field is the last of its tag read in IFD0, the
// Exif IFD, IFD1.

struct ValueField {
    qint64 position = -1;
    quint16 type = 0;

    bool found() const { return position >= 0; }
};

struct TransplantFields {
    ByteOrder order = ByteOrder::LittleEndian;
    qint64 app1Start = 0;         // file offset of the APP1 marker
    qint64 app1End = 0;           // file offset just past the APP1 segment
    qint64 tiffBase = 0;          // file offset of the byte-order mark
    ValueField thumbOffset;       // JPEGInterchangeFormat
    quint32 thumbOffsetValue = 0; // its value: a TIFF offset
    ValueField thumbLength;       // JPEGInterchangeFormatLength
    quint32 thumbLengthValue = 0;
    ValueField pixelX; // PixelXDimension
    ValueField pixelY; // PixelYDimension

    // The old thumbnail's first byte in the file.
    qint64 thumbStart() const { return tiffBase + qint64(thumbOffsetValue); }
    qint64 thumbEnd() const { return thumbStart() + thumbLengthValue; }
};

// No value when the file is not Exif with "II" or "MM", has no IFD1, lacks
// either thumbnail field, or has a directory that does not lie inside its APP1.
std::optional<TransplantFields> findTransplantFields(QByteArrayView file);

// The bytes of value as an entry of `type` holds it: a SHORT in the field's
// first two bytes (the others zero), anything else as 32 bits.
QByteArray fieldBytes(quint16 type, quint32 value, ByteOrder order);
