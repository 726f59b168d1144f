#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/jpegparts.h"

// The index of an APP2 "MPF" segment (CIPA multi-picture format): the
// pictures a camera stores behind the main one (a larger preview, a gain map,
// a second camera's view), each with its size and its offset counted from the
// segment's own TIFF header (the main picture's offset is 0).

// One entry of the index, with where its size and offset fields lie,
// counted from the start of the segment.
struct MpfEntry {
    uint32_t size = 0;
    uint32_t offset = 0;
    size_t sizeField = 0;
    size_t offsetField = 0;
};

struct MpfIndex {
    size_t tiffStart = 0; // the TIFF header, counted from the start of the segment
    bool bigEndian = false;
    std::vector<MpfEntry> entries;
};

// The "MPF" segments' index; false when the segment is not one or its index
// cannot be read whole inside the segment.
bool readMpfIndex(const unsigned char *data, const Segment &segment, MpfIndex &index);

// Writes a 32-bit field of the index in its byte order.
void writeMpfField(unsigned char *at, uint32_t value, bool bigEndian);
