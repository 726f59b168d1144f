#pragma once

#include <QtGlobal>

// Error numbers the Exif readers keep when a parse fails. The file errors use the platform's
// numbers; the others are the numbers the original platform gave the same failures.
namespace ReadError
{
constexpr qint32 Overflow = 6;        // a directory entry count above 32767
constexpr qint32 ValueTooLong = 7;    // a text longer than an APP1 segment can hold
constexpr qint32 BadFileName = 52;    // EINVAL, ENAMETOOLONG, an empty path
constexpr qint32 FileNotFound = 53;   // ENOENT, ENOTDIR
constexpr qint32 PastEndOfFile = 62;  // a text (or the header) runs past the end of the file
constexpr qint32 PathFileAccess = 75; // unreadable, not a regular file, or not writable
} // namespace ReadError
