#pragma once

#include "exif/bytereader.h"

#include <QByteArray>
#include <QSize>
#include <QtGlobal>

#include <optional>

// What a camera-like Exif JPEG holds, in the shape cameras write it: SOI, the Exif APP1
// segment (IFD0 with Make, Model and Software; the Exif IFD with the shooting data; IFD1 with
// a JPEG thumbnail), then the picture. Texts are stored as given plus one NUL, so a NUL inside
// a text stays, as in models padded with zero bytes.
struct CameraShot {
    struct Rational {
        qint32 numerator = 0;
        qint32 denominator = 1;
    };

    ByteOrder byteOrder = ByteOrder::LittleEndian;
    // Segments in front of the Exif one (leadingsegment:: below), as some early Nikon
    // compacts, editors and colour-managed programs write them.
    QByteArray beforeExif;
    QSize frameSize{640, 480};
    std::optional<QSize> exifSize; // PixelX/YDimension; the frame size when not given
    QSize thumbnailSize{160, 120}; // empty: no IFD1 and no thumbnail
    QByteArray make = "Tabilo Optical";
    QByteArray model = "TX-100";
    std::optional<quint16> orientation;      // IFD0 Orientation; no entry when not given
    QByteArray software;                     // empty: no entry
    QByteArray date = "2004:05:06 07:08:09"; // DateTimeOriginal and DateTimeDigitized
    QByteArray exifVersion = "0220";
    std::optional<Rational> exposureTime = Rational{1, 125};
    std::optional<Rational> shutterSpeedValue; // APEX, stored after ExposureTime
    Rational fNumber{28, 10};
    std::optional<quint16> exposureProgram = 2;
    std::optional<quint16> iso = 100;
    std::optional<Rational> compressedBitsPerPixel;
    Rational exposureBias{0, 3};
    quint16 meteringMode = 5;
    quint16 flash = 0;
    Rational focalLength{58, 10};
};

// Segments that programs put between SOI and the Exif APP1.
namespace leadingsegment
{
QByteArray jfif();       // JFIF 1.02, 72 dpi, as the Nikon E950 wrote it
QByteArray iccProfile(); // an APP2 ICC_PROFILE chunk (the profile's bytes are filler)
QByteArray xmp();        // an XMP APP1: an APP1 that is not Exif
QByteArray comment();    // COM
} // namespace leadingsegment

// Two shots shaped after cameras of about 2000, for tests that check many fields at once.
// A zoom compact, little-endian: the model "Canon DIGITAL IXUS" padded with a zero byte, the
// APEX shutter entry after ExposureTime, no exposure program and no ISO entry.
CameraShot zoomCompactShot();
// A fixed-lens compact, big-endian: "FUJIFILM" "FinePix40i" with its software, the flash
// fired, the APEX shutter entry only, and a 2400 x 1800 picture size in Exif.
CameraShot bigEndianCompactShot();

// The thumbnail stored in IFD1: the shot's picture drawn at thumbnailSize.
QByteArray cameraThumbnail(const CameraShot &shot);

// The whole file. The same shot always gives the same bytes.
QByteArray cameraJpeg(const CameraShot &shot = {});
