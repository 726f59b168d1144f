#include "engine/mpfindex.h"

#include <cstring>

namespace
{

constexpr char kSignature[] = "MPF";
constexpr size_t kTiffStart = 8; // FF E2, the length, "MPF\0"
constexpr uint16_t kTagMpEntry = 0xB002;
constexpr uint16_t kTypeUndefined = 7;
constexpr size_t kEntrySize = 16;
constexpr size_t kDirectoryEntrySize = 12;

// Reads the TIFF numbers of one segment, bounds-checked.
class TiffBytes
{
  public:
    TiffBytes(const unsigned char *segment, size_t size, bool bigEndian)
        : m_data(segment), m_size(size), m_bigEndian(bigEndian)
    {
    }

    bool has(size_t pos, size_t count) const { return pos <= m_size && count <= m_size - pos; }
    uint32_t read(size_t pos, size_t width) const
    {
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            const size_t byte = m_bigEndian ? i : width - 1 - i;
            value = value << 8 | m_data[pos + byte];
        }
        return value;
    }

  private:
    const unsigned char *m_data;
    size_t m_size;
    bool m_bigEndian;
};

bool readEntries(const TiffBytes &bytes, size_t tableStart, uint32_t count, MpfIndex &index)
{
    if (count % kEntrySize != 0 || !bytes.has(tableStart, count))
        return false;
    for (size_t pos = tableStart; pos < tableStart + count; pos += kEntrySize) {
        MpfEntry entry;
        entry.sizeField = pos + 4;
        entry.offsetField = pos + 8;
        entry.size = bytes.read(entry.sizeField, 4);
        entry.offset = bytes.read(entry.offsetField, 4);
        index.entries.push_back(entry);
    }
    return true;
}

} // namespace

bool readMpfIndex(const unsigned char *data, const Segment &segment, MpfIndex &index)
{
    if (segment.marker != kMarkerApp2 || !hasSignature(data, segment, kSignature, 4))
        return false;
    const unsigned char *start = data + segment.offset;
    if (segment.size < kTiffStart + 8)
        return false;
    const unsigned char *tiff = start + kTiffStart;
    if (std::memcmp(tiff, "II*\0", 4) == 0)
        index.bigEndian = false;
    else if (std::memcmp(tiff, "MM\0*", 4) == 0)
        index.bigEndian = true;
    else
        return false;
    index.tiffStart = kTiffStart;
    const TiffBytes bytes(start, segment.size, index.bigEndian);
    const size_t directory = kTiffStart + bytes.read(kTiffStart + 4, 4);
    if (!bytes.has(directory, 2))
        return false;
    const size_t count = bytes.read(directory, 2);
    for (size_t i = 0; i < count; ++i) {
        const size_t pos = directory + 2 + i * kDirectoryEntrySize;
        if (!bytes.has(pos, kDirectoryEntrySize))
            return false;
        if (bytes.read(pos, 2) != kTagMpEntry)
            continue;
        const uint32_t length = bytes.read(pos + 4, 4);
        if (bytes.read(pos + 2, 2) != kTypeUndefined || length <= 4)
            return false;
        return readEntries(bytes, kTiffStart + bytes.read(pos + 8, 4), length, index);
    }
    return false;
}

void writeMpfField(unsigned char *at, uint32_t value, bool bigEndian)
{
    for (size_t i = 0; i < 4; ++i) {
        const size_t byte = bigEndian ? 3 - i : i;
        at[byte] = static_cast<unsigned char>(value >> (8 * i));
    }
}
