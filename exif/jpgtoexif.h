#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include "exif/steperror.h"

// Builds Exif files from plain JPEG files: a new APP1 Exif header (maker,
// date, pixel size, a 160 x 120 thumbnail) in front of the source's picture
// data, which is copied byte for byte and never re-encoded.

// The thumbnail box, and the colour of the bands beside a picture that is not 4:3.
inline constexpr QSize kExifThumbSize{160, 120};
inline const QColor kExifThumbBackground{Qt::black};

// The maker name written into every built file.
inline constexpr char kExifBuilderMaker[] = "Brindleware";

struct ExifBuild {
    QString path;       // the built file; empty when the build failed
    QStringList labels; // on failure: the log labels of the failing step, in order
    StepError error;    // on failure: what failed

    bool ok() const { return !path.isEmpty(); }
};

// The name the work files of a build start with, unless the caller gives each
// build its own so that several can run at once.
inline constexpr char kExifWorkName[] = "EXIFFILE";

// Builds the Exif version of the JPEG file at sourcePath into workFolder
// (which ends in "/") as workName + ".EXIF", through part files named
// workName + ".*" that are removed again on every path. The source is only read.
// The thumbnail is encoded at quality (90, 80, 70).
//
// Segments in front of the source's first DQT are dropped, except those the
// picture needs to decode as before (Huffman tables, restart interval, JFIF,
// ICC profile, Adobe colour transform) and the user's own data (XMP, IPTC,
// comments), which follow the new header in their order. Refused, with the
// thumbnail step's label: a progressive, lossless, arithmetic-coded or not
// 8-bit source, one cut short, and one that holds an Exif segment already,
// wherever it stands. A source whose frame header comes before its first DQT
// fails at the merge.
ExifBuild MakeExifFile(const QString &sourcePath, quint8 quality, const QString &workFolder,
                       const QString &workName = QLatin1String(kExifWorkName));
