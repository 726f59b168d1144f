#include "engine/velmor.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <turbojpeg.h>

#define VELMOR_EXPORT __attribute__((visibility("default")))

namespace
{

constexpr int32_t kInterfaceVersion = 1;
constexpr int32_t kFailed = 1;

constexpr unsigned char kMarkerSoi = 0xD8;
constexpr unsigned char kMarkerSos = 0xDA;
constexpr unsigned char kMarkerApp0 = 0xE0;
constexpr unsigned char kMarkerApp14 = 0xEE;
constexpr unsigned char kMarkerApp15 = 0xEF;
constexpr unsigned char kMarkerCom = 0xFE;

// One marker segment: where it starts (at its FF) and how many bytes it takes.
struct Segment {
    size_t offset = 0;
    size_t size = 0;
    unsigned char marker = 0;
};

// The segments between SOI and the first SOS, and where that SOS starts.
struct Header {
    std::vector<Segment> segments;
    size_t scanOffset = 0;
};

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
        const size_t length = size_t(data[pos + 2]) << 8 | data[pos + 3];
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

bool isJfif(const unsigned char *data, const Segment &segment)
{
    return segment.marker == kMarkerApp0 && hasSignature(data, segment, "JFIF\0", 5);
}

bool isAdobe(const unsigned char *data, const Segment &segment)
{
    return segment.marker == kMarkerApp14 && hasSignature(data, segment, "Adobe", 5);
}

TJXOP operationFor(int32_t code)
{
    switch (code) {
    case VelmorClockwise:
        return TJXOP_ROT90;
    case VelmorHalfTurn:
        return TJXOP_ROT180;
    case VelmorCounterClockwise:
        return TJXOP_ROT270;
    default:
        return TJXOP_NONE;
    }
}

// The transform's own output, freed with tjFree.
struct TransformOutput {
    unsigned char *data = nullptr;
    unsigned long size = 0;
    ~TransformOutput() { tjFree(data); }
};

bool transform(const unsigned char *jpeg, size_t size, int32_t code, TransformOutput &output)
{
    tjhandle handle = tjInitTransform();
    if (!handle)
        return false;
    tjtransform operation{};
    operation.op = operationFor(code);
    // Markers are carried by hand: the transform would put a JFIF segment in
    // front of the Exif one, where readers no longer find it.
    operation.options = TJXOPT_COPYNONE;
    // A warning (a picture cut short, say) fails the call: half a picture is no result.
    const int result = tjTransform(handle, jpeg, size, 1, &output.data, &output.size, &operation,
                                   TJFLAG_STOPONWARNING);
    tjDestroy(handle);
    return result == 0 && output.data && output.size > 0;
}

// SOI, the source's APPn and COM segments in their order, then the turned
// file's own tables and frame without the JFIF (and the Adobe) segment that
// the transform writes for itself when the source has its own.
std::vector<unsigned char> withSourceMarkers(const unsigned char *source,
                                             const Header &sourceHeader,
                                             const unsigned char *turned, size_t turnedSize,
                                             const Header &turnedHeader)
{
    bool sourceHasAdobe = false;
    std::vector<unsigned char> result{0xFF, kMarkerSoi};
    for (const Segment &segment : sourceHeader.segments) {
        if (!isMetadata(segment.marker))
            continue;
        sourceHasAdobe = sourceHasAdobe || isAdobe(source, segment);
        result.insert(result.end(), source + segment.offset,
                      source + segment.offset + segment.size);
    }
    for (const Segment &segment : turnedHeader.segments) {
        if (isJfif(turned, segment) || (sourceHasAdobe && isAdobe(turned, segment)))
            continue;
        result.insert(result.end(), turned + segment.offset,
                      turned + segment.offset + segment.size);
    }
    result.insert(result.end(), turned + turnedHeader.scanOffset, turned + turnedSize);
    return result;
}

void clearOutput(unsigned char **rotated, int32_t *rotatedSize)
{
    if (rotated)
        *rotated = nullptr;
    if (rotatedSize)
        *rotatedSize = 0;
}

} // namespace

extern "C" {

VELMOR_EXPORT int32_t getVersion(void)
{
    return kInterfaceVersion;
}

VELMOR_EXPORT int32_t rotateJPEGFile(const unsigned char *jpeg, int32_t jpegSize,
                                     unsigned char **rotated, int32_t *rotatedSize, int32_t code)
{
    clearOutput(rotated, rotatedSize);
    if (!jpeg || jpegSize <= 0 || !rotated || !rotatedSize || code < 0 || code > 3)
        return kFailed;
    Header sourceHeader;
    if (!readHeader(jpeg, size_t(jpegSize), sourceHeader))
        return kFailed;
    TransformOutput output;
    if (!transform(jpeg, size_t(jpegSize), code, output))
        return kFailed;
    Header turnedHeader;
    if (!readHeader(output.data, output.size, turnedHeader))
        return kFailed;
    const std::vector<unsigned char> file =
        withSourceMarkers(jpeg, sourceHeader, output.data, output.size, turnedHeader);
    if (file.size() > size_t(INT32_MAX))
        return kFailed;
    auto *buffer = static_cast<unsigned char *>(std::malloc(file.size()));
    if (!buffer)
        return kFailed;
    std::memcpy(buffer, file.data(), file.size());
    *rotated = buffer;
    *rotatedSize = int32_t(file.size());
    return 0;
}

VELMOR_EXPORT void releaseJPEGBuffer(unsigned char *buffer)
{
    std::free(buffer);
}
}
