#pragma once

#include <QByteArray>
#include <QList>

// Files that store more after their picture, as cameras and phones do: an
// APP2 "MPF" index (little-endian) behind the first segment, listing the main
// picture and a second JPEG stored after it.

struct MpfListing {
    quint32 size = 0;
    quint32 offset = 0; // from the index's TIFF header; 0 for the main picture
};

// main (a JPEG with at least one segment) with the index inserted as its
// segment number indexAt (1: after the first), then gap, second, and trailer
// (a video, say) after its end.
QByteArray withMpfPicture(const QByteArray &main, const QByteArray &second, const QByteArray &gap,
                          const QByteArray &trailer, int indexAt = 1);

// The index's entries as withMpfPicture writes them; empty without an index.
QList<MpfListing> mpfListings(const QByteArray &file);

// Where the pictures listed lie in the file: the main one from 0.
QList<QByteArray> mpfPictures(const QByteArray &file);
