// Stand-ins for the rotation engine, one per build: which entry points exist and what
// rotateJPEGFile hands back are chosen by the definitions of each build.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {

#ifdef FAKE_GET_VERSION
int32_t getVersion(void)
{
    return 1;
}
#endif

#ifdef FAKE_ROTATE
// Answers with the code and size it was given, in a malloc'd buffer and without a release
// function; or, as the broken engine, with success but no output at all.
int32_t rotateJPEGFile(const unsigned char *, int32_t size, unsigned char **rotated,
                       int32_t *rotatedSize, int32_t code)
{
#ifdef FAKE_NO_OUTPUT
    (void)size;
    (void)rotated;
    (void)rotatedSize;
    (void)code;
    return 0;
#else
    char text[64];
    const int length = std::snprintf(text, sizeof text, "code %d, %d bytes", code, size);
    *rotated = static_cast<unsigned char *>(std::malloc(size_t(length)));
    std::memcpy(*rotated, text, size_t(length));
    *rotatedSize = length;
#ifdef FAKE_KEPT_UNTURNED
    return 2; // turned, but a picture listed after the main one was kept as it was
#else
    return 0;
#endif
#endif
}
#endif
}
