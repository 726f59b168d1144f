#pragma once

#include <QByteArrayView>
#include <QList>

// The segments of a JPEG file from its SOI to its first scan, as the Exif
// builder needs them: where the picture data it copies begins, which segments
// in front of that point the decoder needs, and the frame it describes.
struct JpegLayout {
    bool walked = false;  // SOI, well-formed segments, and a SOS were found
    qint64 firstDqt = -1; // offset of the first DQT marker; -1 when a SOF or SOS came first
    int frameMarker = 0;  // second byte of the frame header marker (0xC0 baseline ...)
    int precision = 0;    // sample precision in bits
    int width = 0;
    int height = 0;
    bool endsAfterScan = false; // an EOI marker follows the first SOS: the data is not cut short
    // Offset of the Exif APP1 (exif/exifsegment.h), -1 when there is none: the camera's
    // shooting data, which a new header in front would throw away.
    qint64 exifOffset = -1;
    // Segments between SOI and the first DQT that a new header must not drop, whole and in
    // file order: those that change how the picture decodes (DHT, DRI, an ICC profile APP2, an
    // Adobe APP14, the JFIF APP0, which decides the colour space beside an Adobe APP14 and
    // gives the pixel density), and the user's own data (XMP and other non-Exif APP1, IPTC
    // APP13, comments). The other APPn only describe the file and go.
    QList<QByteArrayView> keptSegments;

    // A baseline or extended sequential Huffman frame of 8-bit samples: the
    // only kind the Exif builder copies behind a new header.
    bool isEightBitSequentialHuffman() const;
};

// A start-of-frame marker (SOF0 to SOF15), given its second byte.
bool isFrameMarker(int marker);

// Walks the segments of jpeg (which must outlive the result's views).
JpegLayout readJpegLayout(QByteArrayView jpeg);
