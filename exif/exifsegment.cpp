#include "exif/exifsegment.h"

#include "exif/bytereader.h"
#include "exif/filebytereader.h"

namespace
{

constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerDht = 0xC4;
constexpr int kMarkerJpg = 0xC8;
constexpr int kMarkerDac = 0xCC;
constexpr qint64 kFirstSegment = 2;
const QByteArrayView kExifMark("Exif\0", 5);

// Markers that stand alone, without a length: TEM and the restart markers.
bool isStandalone(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

bool endsTheHeader(int marker)
{
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != kMarkerDht &&
                       marker != kMarkerJpg && marker != kMarkerDac;
    return frame || marker == kMarkerSos || marker == kMarkerEoi;
}

template <typename Reader> bool holdsExifMark(Reader &reader, qint64 offset)
{
    const auto mark = reader.bytes(offset, kExifMark.size());
    return mark && *mark == kExifMark;
}

template <typename Reader> std::optional<ExifSegment> walk(Reader &reader)
{
    if (reader.u16(0, ByteOrder::BigEndian) != 0xFFD8)
        return std::nullopt;
    qint64 pos = kFirstSegment;
    for (int step = 0; step < kMaxWalkSteps; ++step) {
        const std::optional<quint16> markerPair = reader.u16(pos, ByteOrder::BigEndian);
        if (!markerPair || (*markerPair >> 8) != 0xFF)
            return std::nullopt;
        const int marker = *markerPair & 0xFF;
        if (marker == 0xFF) { // a fill byte: any number may precede a marker
            ++pos;
            continue;
        }
        if (endsTheHeader(marker))
            return std::nullopt;
        if (isStandalone(marker)) {
            pos += 2;
            continue;
        }
        const std::optional<quint16> length = reader.u16(pos + 2, ByteOrder::BigEndian);
        if (!length || *length < 2)
            return std::nullopt;
        if (marker == kMarkerApp1 && holdsExifMark(reader, pos + 4))
            return ExifSegment{pos, pos + 2 + *length};
        pos += 2 + *length;
    }
    return std::nullopt;
}

} // namespace

bool isExifApp1(QByteArrayView segment)
{
    return segment.size() >= 4 + kExifMark.size() && quint8(segment[1]) == kMarkerApp1 &&
           segment.sliced(4, kExifMark.size()) == kExifMark;
}

std::optional<ExifSegment> findExifSegment(QByteArrayView jpeg)
{
    const ByteReader reader(jpeg);
    return walk(reader);
}

std::optional<ExifSegment> findExifSegment(FileByteReader &file)
{
    return walk(file);
}
