#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A decoded JPEG picture. `image` is null on failure and `error` says why; `fullSize` is the
// picture's size as stored in the file (also when `image` was decoded at a reduced scale).
struct DecodedJpeg {
    QImage image;
    QSize fullSize;
    QString error;

    bool isNull() const { return image.isNull(); }
};

// Decodes a whole picture at full size (baseline, progressive, grayscale or CMYK) into an
// RGB32 image. The file variants map the file instead of reading it into memory. A picture
// whose full size would take more than 1 GiB as RGB32 (over 268 megapixels) is refused
// from its header, at any scale.
DecodedJpeg decodeJpeg(const QByteArray &data);
DecodedJpeg decodeJpegFile(const QString &path);

// Decodes a picture that will be drawn with PaintFit into a box of `box` pixels, using the
// codec's DCT scaling: the result is the smallest scale that is still at least as large as
// the size PaintFit draws. Draw it with PaintFit(dest, image, background, fullSize).
DecodedJpeg decodeJpegForBox(const QByteArray &data, const QSize &box);
// The bytes the file variants decode, for callers that read and decode apart; `error` says why
// there are none.
QByteArray readJpegFile(const QString &path, QString &error);
DecodedJpeg decodeJpegFileForBox(const QString &path, const QSize &box);

// The size at which decodeJpegForBox decodes a picture of `fullSize` for `box`.
QSize jpegDecodeSizeForBox(const QSize &fullSize, const QSize &box);
