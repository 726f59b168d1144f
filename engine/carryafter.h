#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "engine/jpegparts.h"

// Turns one complete JPEG picture into out; false when it cannot be turned.
using TurnPicture =
    std::function<bool(const unsigned char *jpeg, size_t size, std::vector<unsigned char> &out)>;

// Appends to file (the turned main picture, which carries the source's
// metadata segments in their order) everything the source holds after its
// main picture, which ends at pictureEnd. The pictures that the source's MPF
// index lists there are turned with turn, and the copy of the index in file
// is rewritten to where they and the main picture now lie, with their new
// sizes; a listed picture that cannot be turned is kept as it was. Every
// other byte after the end (vendor data, a video, padding) is kept in its
// order, so what ends the source ends the result too. Returns how many listed
// pictures were kept unturned.
int carryAfterPicture(const unsigned char *source, size_t sourceSize, const Header &sourceHeader,
                      size_t pictureEnd, const TurnPicture &turn, std::vector<unsigned char> &file);
