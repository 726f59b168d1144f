#pragma once

#include <optional>

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include "core/scan/desktopthumbnails.h"
#include "core/scan/producedthumbnail.h"

// The size tag of a picture drawn from its full image: width and height as
// five digits each with leading zeros; larger values keep their last five digits.
QString thumbnailSizeTag(qint64 width, qint64 height);

// Decodes a kept list picture (an Exif thumbnail or a drawn one) and scales it
// to exactly `size`, as the list's picture store shows every picture. Null when
// the bytes do not decode.
QImage decodeListPicture(const QByteArray &jpeg, QSize size);

// Makes the list picture of one file: the Exif thumbnail, decoded from memory,
// when the file has one; otherwise the full picture decoded at the smallest
// DCT scale that still covers the box and painted to fit, kept as a small JPEG.
// With `autoOrient` the picture is shown as the file's Exif Orientation says:
// an Exif thumbnail it turns or mirrors is kept drawn that way (turned a
// quarter, painted to fit), as a small JPEG too.
// With the desktop's thumbnail store, a picture drawn once is taken from there
// at the next visit, and one that cannot be drawn is not tried again until it
// changes. Holds no state between calls, so worker threads may share one.
class ThumbnailProducer
{
  public:
    ThumbnailProducer(QSize imageSize, QColor background, bool autoOrient = true,
                      std::optional<DesktopThumbnails> remembered = std::nullopt);

    ProducedThumbnail operator()(const QString &path) const;

  private:
    ProducedThumbnail fromExifThumbnail(const QString &path, const QByteArray &thumb,
                                        int orientation) const;
    ProducedThumbnail fromFullPicture(const QString &path, int orientation, bool remember) const;
    ProducedThumbnail
    drawFullPicture(const QString &path, int orientation,
                    const std::optional<DesktopThumbnails::Picture> &picture) const;
    ProducedThumbnail fromDrawing(const QString &path, const QImage &picture, QSize fullSize,
                                  QSize storedSize) const;
    QImage shownExifThumbnail(const QImage &stored, int orientation) const;

    QSize m_imageSize;
    QColor m_background;
    bool m_autoOrient;
    std::optional<DesktopThumbnails> m_remembered;
};
