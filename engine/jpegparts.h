#pragma once

#include <cstddef>
#include <vector>

// The parts of a JPEG file in memory that the engine keeps or rewrites: the
// marker segments in front of the first scan, and where the picture ends.

constexpr unsigned char kMarkerSoi = 0xD8;
constexpr unsigned char kMarkerEoi = 0xD9;
constexpr unsigned char kMarkerSos = 0xDA;
constexpr unsigned char kMarkerApp0 = 0xE0;
constexpr unsigned char kMarkerApp2 = 0xE2;
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

bool readHeader(const unsigned char *data, size_t size, Header &header);

// An APPn or COM segment: what the file says about the picture.
bool isMetadata(unsigned char marker);

bool hasSignature(const unsigned char *data, const Segment &segment, const char *signature,
                  size_t length);

// The offset just past the EOI that ends the picture whose first scan starts
// at scanOffset, walking the scans and the segments between them; 0 when the
// picture is cut short before its EOI.
size_t pictureEnd(const unsigned char *data, size_t size, size_t scanOffset);
