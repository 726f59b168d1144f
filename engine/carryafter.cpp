#include "engine/carryafter.h"

#include <algorithm>
#include <cstdint>

#include "engine/mpfindex.h"

namespace
{

// The first segment holding a readable MPF index, or null.
const Segment *findMpf(const unsigned char *data, const Header &header, MpfIndex &index)
{
    for (const Segment &segment : header.segments) {
        index = MpfIndex();
        if (readMpfIndex(data, segment, index))
            return &segment;
    }
    return nullptr;
}

// A picture the index lists behind the main one: which entry, and where it lies in the source.
struct Listed {
    size_t entry = 0;
    size_t start = 0;
    size_t size = 0;
};

// The listed pictures that lie whole after the main picture without
// overlapping, in file order; any other entry is left as it stands.
std::vector<Listed> listedAfter(const MpfIndex &index, size_t tiffStart, size_t pictureEnd,
                                size_t sourceSize)
{
    std::vector<Listed> listed;
    for (size_t i = 0; i < index.entries.size(); ++i) {
        const MpfEntry &entry = index.entries[i];
        const size_t start = tiffStart + entry.offset;
        if (entry.offset == 0 || entry.size == 0 || start < pictureEnd || start > sourceSize ||
            entry.size > sourceSize - start)
            continue;
        listed.push_back({i, start, entry.size});
    }
    std::sort(listed.begin(), listed.end(),
              [](const Listed &a, const Listed &b) { return a.start < b.start; });
    std::vector<Listed> apart;
    for (const Listed &picture : listed) {
        if (apart.empty() || picture.start >= apart.back().start + apart.back().size)
            apart.push_back(picture);
    }
    return apart;
}

// Where an entry's picture now lies, counted from the index's TIFF header, and its size.
struct NewPlace {
    const MpfEntry *entry = nullptr;
    size_t offset = 0;
    size_t size = 0;
};

void append(std::vector<unsigned char> &file, const unsigned char *from, size_t size)
{
    file.insert(file.end(), from, from + size);
}

} // namespace

int carryAfterPicture(const unsigned char *source, size_t sourceSize, const Header &sourceHeader,
                      size_t pictureEnd, const TurnPicture &turn, std::vector<unsigned char> &file)
{
    MpfIndex index;
    const Segment *mpf = findMpf(source, sourceHeader, index);
    Header turnedHeader;
    MpfIndex turnedIndex;
    const Segment *turnedMpf = nullptr;
    if (mpf && readHeader(file.data(), file.size(), turnedHeader))
        turnedMpf = findMpf(file.data(), turnedHeader, turnedIndex);
    if (!turnedMpf || index.entries.empty() || turnedIndex.entries.size() != index.entries.size()) {
        append(file, source + pictureEnd, sourceSize - pictureEnd);
        return 0;
    }

    const size_t turnedTiff = turnedMpf->offset + index.tiffStart;
    std::vector<NewPlace> moved;
    if (index.entries.front().offset == 0)
        moved.push_back({&index.entries.front(), 0, file.size()});
    int kept = 0;
    size_t pos = pictureEnd;
    for (const Listed &picture :
         listedAfter(index, mpf->offset + index.tiffStart, pictureEnd, sourceSize)) {
        append(file, source + pos, picture.start - pos);
        const size_t start = file.size();
        std::vector<unsigned char> turned;
        if (turn(source + picture.start, picture.size, turned)) {
            append(file, turned.data(), turned.size());
        } else {
            append(file, source + picture.start, picture.size);
            ++kept;
        }
        moved.push_back({&index.entries[picture.entry], start - turnedTiff, file.size() - start});
        pos = picture.start + picture.size;
    }
    append(file, source + pos, sourceSize - pos);
    // The segment was copied unchanged, so the source's field positions hold in the result.
    unsigned char *turnedSegment = file.data() + turnedMpf->offset;
    for (const NewPlace &place : moved) {
        writeMpfField(turnedSegment + place.entry->offsetField, uint32_t(place.offset),
                      index.bigEndian);
        writeMpfField(turnedSegment + place.entry->sizeField, uint32_t(place.size),
                      index.bigEndian);
    }
    return kept;
}
