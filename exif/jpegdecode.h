#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A decoded JPEG picture. `image` is null on failure and `error` says why; `fullSize` is the
// picture's size as stored in the file (also when `image` was decoded at a reduced scale).
// `warning` is the decoder's first warning when it decoded past damaged data (extraneous bytes,
// a bad code, data cut short): `image` is then what could be decoded, as other viewers show it,
// but the picture data is not sound enough to write a new file from.
struct DecodedJpeg {
    QImage image;
    QSize fullSize;
    QString error;
    QString warning;

    bool isNull() const { return image.isNull(); }
    bool isDamaged() const { return !warning.isEmpty(); }
};

// Decodes a whole picture at full size (baseline, progressive, grayscale or CMYK) into an
// RGB32 image. The file variants read the file in chunks of 64 KiB as the decoder asks for
// them, never past the end of the picture's data, and refuse a file over kLargestPictureFile
// from its size. A picture whose full size would take more than 1 GiB as RGB32 (over 268
// megapixels) is refused from its header, at any scale.
DecodedJpeg decodeJpeg(const QByteArray &data);
DecodedJpeg decodeJpegFile(const QString &path);

// Decodes a picture that will be drawn with PaintFit into a box of `box` pixels, using the
// codec's DCT scaling: the result is the smallest scale that is still at least as large as
// the size PaintFit draws. Draw it with PaintFit(dest, image, background, fullSize).
DecodedJpeg decodeJpegForBox(const QByteArray &data, const QSize &box);
DecodedJpeg decodeJpegFileForBox(const QString &path, const QSize &box);

// The size at which decodeJpegForBox decodes a picture of `fullSize` for `box`.
QSize jpegDecodeSizeForBox(const QSize &fullSize, const QSize &box);
