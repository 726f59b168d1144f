#include "exif/jpeglayout.h"

#include "exif/bytereader.h"
#include "exif/exifsegment.h"

namespace
{

constexpr int kMarkerSoi = 0xD8;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerDqt = 0xDB;
constexpr int kMarkerDri = 0xDD;
constexpr int kMarkerDht = 0xC4;
constexpr int kMarkerSof0 = 0xC0;
constexpr int kMarkerSof1 = 0xC1;
constexpr int kMarkerJpg = 0xC8;
constexpr int kMarkerDac = 0xCC;
constexpr int kMarkerApp0 = 0xE0;
constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerApp2 = 0xE2;
constexpr int kMarkerApp13 = 0xED;
constexpr int kMarkerApp14 = 0xEE;
constexpr int kMarkerCom = 0xFE;
constexpr int kMarkerTem = 0x01;
constexpr qint64 kFirstSegmentOffset = 2;

// Markers that stand alone, without a length.
bool isStandalone(int marker)
{
    return marker == kMarkerSoi || marker == kMarkerTem || (marker >= 0xD0 && marker <= 0xD7);
}

bool startsWith(QByteArrayView segment, QByteArrayView signature)
{
    // segment holds marker (2) and length (2) before the payload
    return segment.size() >= 4 + signature.size() &&
           segment.sliced(4, signature.size()) == signature;
}

bool isAdobe(int marker, QByteArrayView segment)
{
    return marker == kMarkerApp14 && startsWith(segment, QByteArrayView("Adobe"));
}

bool isJfif(int marker, QByteArrayView segment)
{
    return marker == kMarkerApp0 && startsWith(segment, QByteArrayView("JFIF\0", 5));
}

bool changesDecoding(int marker, QByteArrayView segment)
{
    if (marker == kMarkerDht || marker == kMarkerDri || isJfif(marker, segment))
        return true;
    if (marker == kMarkerApp2)
        return startsWith(segment, QByteArrayView("ICC_PROFILE\0", 12));
    return isAdobe(marker, segment);
}

// What the user or another program wrote about the picture: XMP (captions, keywords, ratings)
// and any other APP1 but Exif, IPTC, comments.
bool isUserData(int marker, QByteArrayView segment)
{
    return (marker == kMarkerApp1 && !isExifApp1(segment)) || marker == kMarkerApp13 ||
           marker == kMarkerCom;
}

} // namespace

bool JpegLayout::isEightBitSequentialHuffman() const
{
    return (frameMarker == kMarkerSof0 || frameMarker == kMarkerSof1) && precision == 8;
}

bool isFrameMarker(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != kMarkerDht && marker != kMarkerJpg &&
           marker != kMarkerDac;
}

JpegLayout readJpegLayout(QByteArrayView jpeg)
{
    JpegLayout layout;
    const ByteReader reader(jpeg);
    if (reader.u16(0, ByteOrder::BigEndian) != 0xFFD8)
        return layout;
    if (const std::optional<ExifSegment> exif = findExifSegment(jpeg))
        layout.exifOffset = exif->start;
    bool frameSeen = false;
    qint64 pos = kFirstSegmentOffset;
    while (true) {
        if (reader.u8(pos) != 0xFF)
            return layout;
        // Fill bytes: any number of 0xFF may precede a marker.
        qint64 markerPos = pos;
        while (reader.u8(markerPos + 1) == 0xFF)
            ++markerPos;
        const std::optional<quint8> marker = reader.u8(markerPos + 1);
        if (!marker || *marker == kMarkerEoi)
            return layout;
        if (isStandalone(*marker)) {
            pos = markerPos + 2;
            continue;
        }
        const std::optional<quint16> length = reader.u16(markerPos + 2, ByteOrder::BigEndian);
        if (!length || *length < 2)
            return layout;
        const std::optional<QByteArrayView> segment = reader.view(markerPos, 2 + qint64(*length));
        if (!segment)
            return layout;
        if (*marker == kMarkerSos) {
            layout.walked = frameSeen;
            // Entropy-coded data never holds FF D9, so an EOI behind the scan
            // header means the file was not cut short.
            layout.endsAfterScan =
                jpeg.lastIndexOf(QByteArrayView("\xFF\xD9", 2)) > markerPos + 2 + qint64(*length);
            return layout;
        }
        if (*marker == kMarkerDqt && layout.firstDqt < 0 && !frameSeen)
            layout.firstDqt = markerPos;
        if (isFrameMarker(*marker) && !frameSeen) {
            if (*length < 8)
                return layout;
            frameSeen = true;
            layout.frameMarker = *marker;
            layout.precision = *reader.u8(markerPos + 4);
            layout.height = *reader.u16(markerPos + 5, ByteOrder::BigEndian);
            layout.width = *reader.u16(markerPos + 7, ByteOrder::BigEndian);
        }
        if (layout.firstDqt < 0 && !frameSeen &&
            (changesDecoding(*marker, *segment) || isUserData(*marker, *segment)))
            layout.keptSegments.append(*segment);
        pos = markerPos + 2 + *length;
    }
}
