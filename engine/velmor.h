#pragma once

#include <cstdint>

// The lossless rotation engine: turns a JPEG file held in memory by quarter
// turns in the DCT domain, without decoding the picture. Every APPn and COM
// segment of the source is carried into the result unchanged and in order.

// Turns: 0 none (the file is rewritten unturned), 1 a quarter turn clockwise,
// 2 a half turn, 3 a quarter turn counter-clockwise.
enum VelmorCode : int32_t {
    VelmorNone = 0,
    VelmorClockwise = 1,
    VelmorHalfTurn = 2,
    VelmorCounterClockwise = 3,
};

extern "C" {

// The engine's interface version.
int32_t getVersion(void);

// Turns the complete JPEG file `jpeg` of `jpegSize` bytes. On success returns 0
// and sets *rotated to a buffer of *rotatedSize bytes holding the complete
// turned file, which the caller gives back with releaseJPEGBuffer. On failure
// (not a JPEG the transform can read, a code outside 0-3, a damaged picture)
// returns nonzero and sets *rotated to null and *rotatedSize to 0.
int32_t rotateJPEGFile(const unsigned char *jpeg, int32_t jpegSize, unsigned char **rotated,
                       int32_t *rotatedSize, int32_t code);

// Frees a buffer from rotateJPEGFile (it was allocated with malloc).
void releaseJPEGBuffer(unsigned char *buffer);
}

// The entry points as the bridge resolves them.
using VelmorGetVersion = int32_t (*)(void);
using VelmorRotateJpegFile = int32_t (*)(const unsigned char *, int32_t, unsigned char **,
                                         int32_t *, int32_t);
using VelmorReleaseJpegBuffer = void (*)(unsigned char *);
