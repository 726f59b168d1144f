#include "tests/support/camerajpeg.h"

#include "exif/exiftags.h"
#include "exif/jpegencoder.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"

namespace
{

constexpr quint16 kCompression = 0x0103;
constexpr quint16 kJpegCompression = 6;

QByteArray encodedPattern(const QSize &size, quint8 quality)
{
    return encodeJpeg(writefixtures::pattern(size), size.width(), size.height(), quality);
}

// The encoder's output from its first DQT on: its own SOI and JFIF segment go.
QByteArray fromFirstDqt(const QByteArray &jpeg)
{
    for (const writefixtures::Segment &segment : writefixtures::segmentsOf(jpeg)) {
        if (segment.marker == 0xDB)
            return jpeg.mid(segment.offset);
    }
    return {};
}

void addRational(TiffBuilder &tiff, quint16 tag, const CameraShot::Rational &value)
{
    tiff.rational(TiffBuilder::ExifIfd, tag, value.numerator, value.denominator);
}

void addImageTexts(TiffBuilder &tiff, const CameraShot &shot)
{
    tiff.ascii(TiffBuilder::Ifd0, ExifTag::Make, shot.make);
    tiff.ascii(TiffBuilder::Ifd0, ExifTag::Model, shot.model);
    if (shot.orientation)
        tiff.shortValue(TiffBuilder::Ifd0, ExifTag::Orientation, *shot.orientation);
    if (!shot.software.isEmpty())
        tiff.ascii(TiffBuilder::Ifd0, ExifTag::Software, shot.software);
}

// The Exif IFD in tag order, as cameras write it.
void addShootingData(TiffBuilder &tiff, const CameraShot &shot)
{
    constexpr TiffBuilder::Ifd exif = TiffBuilder::ExifIfd;
    if (shot.exposureTime)
        addRational(tiff, ExifTag::ExposureTime, *shot.exposureTime);
    addRational(tiff, ExifTag::FNumber, shot.fNumber);
    if (shot.exposureProgram)
        tiff.shortValue(exif, ExifTag::ExposureProgram, *shot.exposureProgram);
    if (shot.iso)
        tiff.shortValue(exif, ExifTag::IsoSpeedRatings, *shot.iso);
    tiff.undefined(exif, ExifTag::ExifVersion, shot.exifVersion);
    tiff.ascii(exif, ExifTag::DateTimeOriginal, shot.date);
    tiff.ascii(exif, ExifTag::DateTimeDigitized, shot.date);
    if (shot.compressedBitsPerPixel)
        addRational(tiff, ExifTag::CompressedBitsPerPixel, *shot.compressedBitsPerPixel);
    if (shot.shutterSpeedValue)
        addRational(tiff, ExifTag::ShutterSpeedValue, *shot.shutterSpeedValue);
    addRational(tiff, ExifTag::ExposureBiasValue, shot.exposureBias);
    tiff.shortValue(exif, ExifTag::MeteringMode, shot.meteringMode);
    tiff.shortValue(exif, ExifTag::Flash, shot.flash);
    addRational(tiff, ExifTag::FocalLength, shot.focalLength);
    const QSize exifSize = shot.exifSize.value_or(shot.frameSize);
    tiff.longValue(exif, ExifTag::PixelXDimension, quint32(exifSize.width()));
    tiff.longValue(exif, ExifTag::PixelYDimension, quint32(exifSize.height()));
}

QByteArray exifSegment(const CameraShot &shot)
{
    TiffBuilder tiff(shot.byteOrder);
    addImageTexts(tiff, shot);
    addShootingData(tiff, shot);
    if (!shot.thumbnailSize.isEmpty()) {
        tiff.shortValue(TiffBuilder::Ifd1, kCompression, kJpegCompression);
        tiff.thumbnail(cameraThumbnail(shot));
    }
    return jpegbytes::segment(0xE1, QByteArray("Exif\0\0", 6) + tiff.tiff());
}

} // namespace

CameraShot zoomCompactShot()
{
    CameraShot shot;
    shot.make = "Canon";
    shot.model = QByteArray("Canon DIGITAL IXUS\0", 19);
    shot.date = "2001:06:09 15:17:32";
    shot.exifVersion = "0210";
    shot.exposureTime = {1, 350};
    shot.shutterSpeedValue = {553859, 65536};
    shot.fNumber = {40, 10};
    shot.exposureProgram.reset();
    shot.iso.reset();
    shot.compressedBitsPerPixel = {3, 1};
    shot.meteringMode = 2;
    shot.focalLength = {346, 32};
    return shot;
}

CameraShot bigEndianCompactShot()
{
    CameraShot shot;
    shot.byteOrder = ByteOrder::BigEndian;
    shot.make = "FUJIFILM";
    shot.model = "FinePix40i";
    shot.software = "Digital Camera FinePix40i Ver1.39";
    shot.date = "2000:08:04 18:22:57";
    shot.exifVersion = "0210";
    shot.exifSize = QSize(2400, 1800);
    shot.exposureTime.reset();
    shot.shutterSpeedValue = {550, 100};
    shot.fNumber = {280, 100};
    shot.iso = 200;
    shot.flash = 1;
    shot.focalLength = {870, 100};
    return shot;
}

QByteArray cameraThumbnail(const CameraShot &shot)
{
    return encodedPattern(shot.thumbnailSize, 75);
}

QByteArray cameraJpeg(const CameraShot &shot)
{
    return jpegbytes::soi() + shot.beforeExif + exifSegment(shot) +
           fromFirstDqt(encodedPattern(shot.frameSize, 90));
}

namespace leadingsegment
{

// JFIF 1.02, 72 x 72 dots per inch, no thumbnail: the bytes the Nikon E950 wrote.
QByteArray jfif()
{
    return jpegbytes::segment(0xE0, QByteArray("JFIF\0\x01\x02\x01\x00\x48\x00\x48\x00\x00", 14));
}

QByteArray iccProfile()
{
    return jpegbytes::segment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + QByteArray(600, 'p'));
}

QByteArray xmp()
{
    return jpegbytes::segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
                                        "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>");
}

QByteArray comment()
{
    return jpegbytes::segment(0xFE, "written by an editor");
}

} // namespace leadingsegment
