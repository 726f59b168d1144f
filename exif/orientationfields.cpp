#include "exif/orientationfields.h"

#include <QFile>

#include "exif/bytereader.h"
#include "exif/exifsegment.h"
#include "exif/exiftags.h"

namespace
{

constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerApp1 = 0xE1;
constexpr qint64 kEntrySize = 12;
constexpr int kMaxDirectories = 2; // IFD0 and IFD1
const QByteArrayView kXmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);
const QByteArrayView kXmpName("tiff:Orientation");

struct SegmentView {
    qint64 offset = 0; // at its FF
    QByteArrayView bytes;
};

QList<SegmentView> app1Segments(QByteArrayView header)
{
    QList<SegmentView> segments;
    qint64 pos = 2;
    while (pos + 4 <= header.size() && uchar(header[pos]) == 0xFF) {
        const int marker = uchar(header[pos + 1]);
        if (marker == kMarkerSos)
            break;
        const qint64 length = qint64(uchar(header[pos + 2])) << 8 | uchar(header[pos + 3]);
        if (length < 2 || pos + 2 + length > header.size())
            break;
        if (marker == kMarkerApp1)
            segments.append({pos, header.sliced(pos, 2 + length)});
        pos += 2 + length;
    }
    return segments;
}

bool startsWith(const SegmentView &segment, QByteArrayView signature)
{
    return segment.bytes.size() >= 4 + signature.size() &&
           segment.bytes.sliced(4, signature.size()) == signature;
}

// An Orientation SHORT of IFD0 or IFD1: its value and where its field lies in the file.
struct ShortField {
    qint64 position = 0;
    quint16 value = 0;
};

struct ExifOrientations {
    ByteOrder order = ByteOrder::LittleEndian;
    QList<ShortField> fields;
};

void orientationsIn(const ByteReader &tiff, qint64 directory, qint64 base, ExifOrientations &found)
{
    const std::optional<quint16> count = tiff.u16(directory, found.order);
    for (qint64 i = 0; count && i < *count; ++i) {
        const qint64 entry = directory + 2 + i * kEntrySize;
        const std::optional<quint16> tag = tiff.u16(entry, found.order);
        if (!tag)
            break;
        if (*tag != ExifTag::Orientation || tiff.u16(entry + 2, found.order) != TiffType::Short ||
            tiff.u32(entry + 4, found.order) != 1u)
            continue;
        if (const std::optional<quint16> value = tiff.u16(entry + 8, found.order))
            found.fields.append({base + entry + 8, *value});
    }
}

ExifOrientations exifOrientations(QByteArrayView header)
{
    ExifOrientations found;
    const std::optional<ExifSegment> segment = findExifSegment(header);
    if (!segment)
        return found;
    const qint64 base = segment->tiffBase();
    const ByteReader tiff(
        header.sliced(base, qMax<qint64>(0, qMin(segment->end, header.size()) - base)));
    const std::optional<QByteArrayView> mark = tiff.view(0, 2);
    if (!mark || (*mark != "II" && *mark != "MM"))
        return found;
    found.order = *mark == "II" ? ByteOrder::LittleEndian : ByteOrder::BigEndian;
    std::optional<quint32> directory = tiff.u32(4, found.order);
    for (int i = 0; i < kMaxDirectories && directory && *directory != 0; ++i) {
        orientationsIn(tiff, *directory, base, found);
        const std::optional<quint16> count = tiff.u16(*directory, found.order);
        if (!count)
            break;
        directory = tiff.u32(*directory + 2 + *count * kEntrySize, found.order);
    }
    return found;
}

// The positions of the digits that XMP gives tiff:Orientation, as
// tiff:Orientation="6" or <tiff:Orientation>6</tiff:Orientation>.
QList<qint64> xmpDigits(QByteArrayView header)
{
    QList<qint64> digits;
    for (const SegmentView &segment : app1Segments(header)) {
        if (!startsWith(segment, kXmpSignature))
            continue;
        const QByteArrayView text = segment.bytes;
        for (qint64 at = text.indexOf(kXmpName); at >= 0; at = text.indexOf(kXmpName, at + 1)) {
            qint64 pos = at + kXmpName.size();
            if (pos + 3 > text.size())
                break;
            if (text[pos] == '=' && (text[pos + 1] == '"' || text[pos + 1] == '\''))
                pos += 2;
            else if (text[pos] == '>')
                pos += 1;
            else
                continue;
            if (text[pos] >= '1' && text[pos] <= '8')
                digits.append(segment.offset + pos);
        }
    }
    return digits;
}

QByteArray shortOne(ByteOrder order)
{
    return order == ByteOrder::LittleEndian ? QByteArray("\x01\x00", 2) : QByteArray("\x00\x01", 2);
}

} // namespace

QByteArray readJpegHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray header = file.read(2);
    if (header != QByteArrayView("\xFF\xD8", 2))
        return {};
    while (true) {
        const QByteArray marker = file.read(4);
        header += marker;
        if (marker.size() < 4 || uchar(marker[0]) != 0xFF || uchar(marker[1]) == kMarkerSos)
            return header;
        const qint64 length = qint64(uchar(marker[2])) << 8 | uchar(marker[3]);
        if (length < 2)
            return header;
        const QByteArray payload = file.read(length - 2);
        header += payload;
        if (payload.size() < length - 2)
            return header;
    }
}

QList<FilePatch> uprightPatches(QByteArrayView header)
{
    QList<FilePatch> patches;
    const ExifOrientations found = exifOrientations(header);
    for (const ShortField &field : found.fields) {
        if (field.value != 1)
            patches.append({field.position, shortOne(found.order)});
    }
    for (const qint64 digit : xmpDigits(header)) {
        if (header[digit] != '1')
            patches.append({digit, QByteArray("1")});
    }
    return patches;
}

StepError setOrientationUpright(const QString &path)
{
    return applyPatches(path, uprightPatches(readJpegHeader(path)));
}
