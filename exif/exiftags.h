#pragma once

#include <QtGlobal>

// TIFF and Exif tag numbers the program reads or writes.
namespace ExifTag
{
// IFD0 and IFD1
constexpr quint16 ImageDescription = 0x010E;
constexpr quint16 Make = 0x010F;
constexpr quint16 Model = 0x0110;
constexpr quint16 Orientation = 0x0112;
constexpr quint16 Software = 0x0131;
constexpr quint16 DateTime = 0x0132;
constexpr quint16 JpegInterchangeFormat = 0x0201;
constexpr quint16 JpegInterchangeFormatLength = 0x0202;
constexpr quint16 ExifIfdPointer = 0x8769;
// Exif IFD
constexpr quint16 ExposureTime = 0x829A;
constexpr quint16 FNumber = 0x829D;
constexpr quint16 ExposureProgram = 0x8822;
constexpr quint16 IsoSpeedRatings = 0x8827;
constexpr quint16 ExifVersion = 0x9000;
constexpr quint16 DateTimeOriginal = 0x9003;
constexpr quint16 DateTimeDigitized = 0x9004;
constexpr quint16 CompressedBitsPerPixel = 0x9102;
constexpr quint16 ShutterSpeedValue = 0x9201;
constexpr quint16 ExposureBiasValue = 0x9204;
constexpr quint16 MaxApertureValue = 0x9205;
constexpr quint16 SubjectDistance = 0x9206;
constexpr quint16 MeteringMode = 0x9207;
constexpr quint16 Flash = 0x9209;
constexpr quint16 FocalLength = 0x920A;
constexpr quint16 UserComment = 0x9286;
constexpr quint16 PixelXDimension = 0xA002;
constexpr quint16 PixelYDimension = 0xA003;
} // namespace ExifTag

// TIFF field types.
namespace TiffType
{
constexpr quint16 Ascii = 2;
constexpr quint16 Short = 3;
constexpr quint16 Long = 4;
constexpr quint16 Rational = 5;
constexpr quint16 Undefined = 7;
constexpr quint16 SRational = 10;
} // namespace TiffType
