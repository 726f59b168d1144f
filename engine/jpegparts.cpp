#include "engine/jpegparts.h"

#include <cstring>

namespace
{

size_t segmentLength(const unsigned char *data, size_t pos)
{
    return size_t(data[pos + 2]) << 8 | data[pos + 3];
}

// Inside entropy-coded data, FF 00 is a stuffed byte and FF D0-D7 a restart
// marker: neither ends the data.
bool endsEntropyData(unsigned char marker)
{
    return marker != 0x00 && marker != 0xFF && (marker < 0xD0 || marker > 0xD7);
}

// The offset of the marker that ends the entropy-coded data from pos on; size when none does.
size_t entropyEnd(const unsigned char *data, size_t size, size_t pos)
{
    while (pos + 1 < size) {
        const auto *found =
            static_cast<const unsigned char *>(std::memchr(data + pos, 0xFF, size - pos - 1));
        if (!found)
            return size;
        pos = size_t(found - data);
        if (endsEntropyData(data[pos + 1]))
            return pos;
        ++pos;
    }
    return size;
}

} // namespace

bool readHeader(const unsigned char *data, size_t size, Header &header)
{
    if (size < 4 || data[0] != 0xFF || data[1] != kMarkerSoi)
        return false;
    size_t pos = 2;
    while (pos + 4 <= size) {
        if (data[pos] != 0xFF)
            return false;
        const unsigned char marker = data[pos + 1];
        if (marker == 0xFF) { // a fill byte
            ++pos;
            continue;
        }
        if (marker == kMarkerSos) {
            header.scanOffset = pos;
            return true;
        }
        const size_t length = segmentLength(data, pos);
        if (length < 2 || pos + 2 + length > size)
            return false;
        header.segments.push_back({pos, 2 + length, marker});
        pos += 2 + length;
    }
    return false;
}

bool isMetadata(unsigned char marker)
{
    return (marker >= kMarkerApp0 && marker <= kMarkerApp15) || marker == kMarkerCom;
}

bool hasSignature(const unsigned char *data, const Segment &segment, const char *signature,
                  size_t length)
{
    return segment.size >= 4 + length &&
           std::memcmp(data + segment.offset + 4, signature, length) == 0;
}

size_t pictureEnd(const unsigned char *data, size_t size, size_t scanOffset)
{
    size_t pos = scanOffset;
    while (pos + 4 <= size) {
        const unsigned char marker = data[pos + 1];
        if (data[pos] != 0xFF)
            return 0;
        if (marker == kMarkerEoi)
            return pos + 2;
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        const size_t length = segmentLength(data, pos);
        if (length < 2 || pos + 2 + length > size)
            return 0;
        pos += 2 + length;
        if (marker == kMarkerSos)
            pos = entropyEnd(data, size, pos);
    }
    if (pos + 2 <= size && data[pos] == 0xFF && data[pos + 1] == kMarkerEoi)
        return pos + 2;
    return 0;
}
