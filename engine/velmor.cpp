#include "engine/velmor.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <turbojpeg.h>

#include "engine/carryafter.h"
#include "engine/jpegparts.h"

#define VELMOR_EXPORT __attribute__((visibility("default")))

namespace
{

constexpr int32_t kInterfaceVersion = 2;
constexpr int32_t kFailed = 1;
constexpr int32_t kLastCode = VelmorTransverse;

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
    case VelmorFlipLeftRight:
        return TJXOP_HFLIP;
    case VelmorFlipTopBottom:
        return TJXOP_VFLIP;
    case VelmorTranspose:
        return TJXOP_TRANSPOSE;
    case VelmorTransverse:
        return TJXOP_TRANSVERSE;
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
    // Neither trimmed nor perfect: like the quarter turns, a flip keeps the
    // full size, and the partial blocks at an edge it cannot move stay where
    // they were.
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

// One complete picture turned, with its own metadata segments.
bool turnPicture(const unsigned char *jpeg, size_t size, int32_t code,
                 std::vector<unsigned char> &file)
{
    Header sourceHeader;
    if (!readHeader(jpeg, size, sourceHeader))
        return false;
    TransformOutput output;
    if (!transform(jpeg, size, code, output))
        return false;
    Header turnedHeader;
    if (!readHeader(output.data, output.size, turnedHeader))
        return false;
    file = withSourceMarkers(jpeg, sourceHeader, output.data, output.size, turnedHeader);
    return true;
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
    if (!jpeg || jpegSize <= 0 || !rotated || !rotatedSize || code < 0 || code > kLastCode)
        return kFailed;
    Header sourceHeader;
    if (!readHeader(jpeg, size_t(jpegSize), sourceHeader))
        return kFailed;
    // A picture cut short before its EOI goes to the transform whole, which refuses it.
    size_t end = pictureEnd(jpeg, size_t(jpegSize), sourceHeader.scanOffset);
    if (end == 0)
        end = size_t(jpegSize);
    const TurnPicture turn = [code](const unsigned char *picture, size_t size,
                                    std::vector<unsigned char> &out) {
        return turnPicture(picture, size, code, out);
    };
    std::vector<unsigned char> file;
    if (!turn(jpeg, end, file))
        return kFailed;
    const int kept = carryAfterPicture(jpeg, size_t(jpegSize), sourceHeader, end, turn, file);
    if (file.size() > size_t(INT32_MAX))
        return kFailed;
    auto *buffer = static_cast<unsigned char *>(std::malloc(file.size()));
    if (!buffer)
        return kFailed;
    std::memcpy(buffer, file.data(), file.size());
    *rotated = buffer;
    *rotatedSize = int32_t(file.size());
    return kept > 0 ? int32_t(VelmorKeptUnturned) : 0;
}

VELMOR_EXPORT void releaseJPEGBuffer(unsigned char *buffer)
{
    std::free(buffer);
}
}
