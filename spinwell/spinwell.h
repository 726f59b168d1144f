#pragma once

#include <cstdint>

// Spinwell, the rotation bridge: turns a JPEG file into another file through
// the lossless rotation engine "libvelmor.so", which it loads by its bare name
// on every call (the library's RUNPATH finds it beside the program). The
// engine works on memory only; all file handling is here. It keeps nothing
// from one call to the next, so calls may run on several threads at once.

// Results of velmorRot.
enum SpinwellResult : int32_t {
    SpinwellDone = 0,
    SpinwellNoEngine = 101,       // the engine library cannot be loaded
    SpinwellNoGetVersion = 102,   // the engine lacks "getVersion"
    SpinwellNoRotate = 103,       // the engine lacks "rotateJPEGFile"
    SpinwellSourceUnopened = 104, // the source cannot be opened for reading
    SpinwellDestUnopened = 105,   // the destination cannot be opened for writing
    SpinwellSourceUnread = 106,   // the source cannot be read whole
    SpinwellEngineFailed = 107,   // the engine reported a failure or set no output
    SpinwellDestUnwritten = 108,  // writing, syncing or closing the destination failed
    // The destination is written, but a picture that the file's MPF index
    // lists after the main one (a preview, say) could not be turned and was
    // kept as it was.
    SpinwellKeptUnturned = 109,
};

extern "C" {

// Turns `source` by `code` into `destination`: 1 a quarter turn clockwise,
// 2 a half turn, 3 a quarter turn counter-clockwise, 4 flip left-right, 5 flip
// top-bottom, 6 transpose (mirror across the top-left to bottom-right
// diagonal), 7 transverse (across the top-right to bottom-left diagonal);
// every other value rewrites it unturned. Everything the file holds after the
// picture is carried over (see engine/velmor.h). The source is read whole and
// closed before the engine runs, so both may name one file. It must be a
// regular file: a pipe or device is refused (106) without waiting.
// The result is written to the work file ".NAME.spinwell-PID-N" beside the
// destination, put on disk and renamed over it, so the destination is
// replaced only whole and on disk: on every failure it is as it was. A link
// at the destination is followed; a destination that is no regular file, or
// that its user may not write, is refused (105). Paths are in the system's
// narrow encoding.
//
// On return errno holds the system's reason of a failure (strerror names it),
// or 0 when there is none (success, a missing engine or entry point, the
// engine's own failure, a source that is no regular file).
int32_t velmorRot(const char *source, const char *destination, int32_t code);
}

using SpinwellVelmorRot = int32_t (*)(const char *, const char *, int32_t);
