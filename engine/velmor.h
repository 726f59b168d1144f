#pragma once

#include <cstdint>

// The lossless rotation engine: turns or mirrors a JPEG file held in memory
// in the DCT domain, without decoding the picture. Every APPn and COM segment
// of the source is carried into the result unchanged and in order, and so is
// everything after the picture's end: the pictures an APP2 "MPF" index lists
// there (previews, gain maps) are turned the same way and the index is
// rewritten to their new places and sizes; any other data there (vendor
// data, a video, padding) is kept byte for byte and in order, so it keeps its
// distance from the end of the file.

// Transforms. 0 none (the file is rewritten unturned), 1 a quarter turn
// clockwise, 2 a half turn, 3 a quarter turn counter-clockwise; the mirrors
// that the Exif orientations 2, 4, 5 and 7 call for: 4 flip left-right, 5 flip
// top-bottom, 6 transpose (mirror across the top-left to bottom-right
// diagonal), 7 transverse (across the top-right to bottom-left diagonal).
// Partial blocks (an edge of a picture whose width or height is not a whole
// number of blocks) that a transform would have to move cannot move: they stay
// where they were, so that edge looks disordered (the source's right edge for 3 and 4,
// bottom edge for 1 and 5, both for 2 and 7; 0 and 6 are exact).
enum VelmorCode : int32_t {
    VelmorNone = 0,
    VelmorClockwise = 1,
    VelmorHalfTurn = 2,
    VelmorCounterClockwise = 3,
    VelmorFlipLeftRight = 4,
    VelmorFlipTopBottom = 5,
    VelmorTranspose = 6,
    VelmorTransverse = 7,
};

// rotateJPEGFile's result when the file is turned but a picture that the
// MPF index lists after the main one could not be, and was kept as it was.
constexpr int32_t VelmorKeptUnturned = 2;

extern "C" {

// The engine's interface version.
int32_t getVersion(void);

// Turns the complete JPEG file `jpeg` of `jpegSize` bytes. On success returns 0
// (or VelmorKeptUnturned) and sets *rotated to a buffer of *rotatedSize bytes
// holding the complete turned file, which the caller gives back with
// releaseJPEGBuffer. On failure (not a JPEG the transform can read, a code
// outside 0-7, a damaged picture) returns 1 and sets *rotated to null and
// *rotatedSize to 0.
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
