#include "tests/support/mpfjpeg.h"

#include <QtEndian>

#include "tests/support/writefixtures.h"

namespace
{

constexpr qsizetype kTiffInSegment = 8;  // FF E2, the length, "MPF\0"
constexpr qsizetype kEntriesInTiff = 50; // header 8, count 2, three entries, next IFD 4

void appendU16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xFF)).append(char(value >> 8));
}

void appendU32(QByteArray &bytes, quint32 value)
{
    appendU16(bytes, quint16(value & 0xFFFF));
    appendU16(bytes, quint16(value >> 16));
}

void appendEntry(QByteArray &bytes, quint16 tag, quint16 type, quint32 count, quint32 value)
{
    appendU16(bytes, tag);
    appendU16(bytes, type);
    appendU32(bytes, count);
    appendU32(bytes, value);
}

QByteArray mpfPayload(const QList<MpfListing> &listings)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    appendU16(tiff, 3);
    appendEntry(tiff, 0xB000, 7, 4, qFromLittleEndian<quint32>("0100"));
    appendEntry(tiff, 0xB001, 4, 1, quint32(listings.size()));
    appendEntry(tiff, 0xB002, 7, quint32(16 * listings.size()), kEntriesInTiff);
    appendU32(tiff, 0);
    for (qsizetype i = 0; i < listings.size(); ++i) {
        appendU32(tiff, i == 0 ? 0x20030000 : 0x00010001);
        appendU32(tiff, listings[i].size);
        appendU32(tiff, listings[i].offset);
        appendU32(tiff, 0);
    }
    return QByteArray("MPF\0", 4) + tiff;
}

QByteArray withIndex(const QByteArray &main, const QList<MpfListing> &listings, int indexAt)
{
    QList<writefixtures::Segment> segments = writefixtures::segmentsOf(main);
    segments.insert(indexAt, writefixtures::makeSegment(0xE2, mpfPayload(listings)));
    return writefixtures::withSegments(main, segments);
}

qsizetype tiffStart(const QByteArray &file)
{
    const qsizetype signature = file.indexOf(QByteArrayView("\xFF\xE2", 2));
    return signature < 0 || file.mid(signature + 4, 4) != QByteArrayView("MPF\0", 4)
               ? -1
               : signature + kTiffInSegment;
}

} // namespace

QByteArray withMpfPicture(const QByteArray &main, const QByteArray &second, const QByteArray &gap,
                          const QByteArray &trailer, int indexAt)
{
    // The index has the same size whatever it holds: place it once to learn where things lie.
    const QByteArray placed = withIndex(main, {{0, 0}, {0, 0}}, indexAt);
    const quint32 secondOffset = quint32(placed.size() + gap.size() - tiffStart(placed));
    const QByteArray indexed = withIndex(
        main, {{quint32(placed.size()), 0}, {quint32(second.size()), secondOffset}}, indexAt);
    return indexed + gap + second + trailer;
}

QList<MpfListing> mpfListings(const QByteArray &file)
{
    const qsizetype tiff = tiffStart(file);
    if (tiff < 0)
        return {};
    const quint32 count = qFromLittleEndian<quint32>(file.constData() + tiff + 30);
    QList<MpfListing> listings;
    for (quint32 i = 0; i < count; ++i) {
        const char *entry = file.constData() + tiff + kEntriesInTiff + 16 * i;
        listings.append(
            {qFromLittleEndian<quint32>(entry + 4), qFromLittleEndian<quint32>(entry + 8)});
    }
    return listings;
}

QList<QByteArray> mpfPictures(const QByteArray &file)
{
    QList<QByteArray> pictures;
    const qsizetype tiff = tiffStart(file);
    for (const MpfListing &listing : mpfListings(file))
        pictures.append(file.mid(listing.offset == 0 ? 0 : tiff + listing.offset, listing.size));
    return pictures;
}
