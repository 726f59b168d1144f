#include "core/scan/thumbnailproducer.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "exif/exifthumb.h"
#include "exif/jpegdecode.h"
#include "exif/jpegencoder.h"
#include "exif/jpgsize.h"
#include "exif/orientedimage.h"
#include "exif/paintfit.h"
#include "exif/shownpicture.h"
#include "platform/fileerror.h"

namespace
{

// The error number the original platform gave a picture it could not load.
constexpr int invalidPictureError = 481;
// Drawn thumbnails are re-encoded at this quality: a few kilobytes each, and
// no visible loss at list size.
constexpr quint8 keptJpegQuality = 90;

const QString errorSource = QStringLiteral("Tabilo");

ProducedThumbnail badPicture(const QString &path, const QString &why)
{
    ProducedThumbnail produced;
    produced.outcome = ProducedThumbnail::Outcome::BadPicture;
    produced.error = ErrorRecord{invalidPictureError, errorSource,
                                 QStringLiteral("ピクチャが不正です。 ") +
                                     QFileInfo(path).fileName() + QStringLiteral(": ") + why};
    return produced;
}

// A file that cannot be opened is a file error, not a damaged picture: 53
// when it is gone, 75 (path/file access) for every other reason.
bool openFailure(const QString &path, ErrorRecord &error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    const int reason = errno;
    const int number = reason == ENOENT || reason == ENOTDIR ? FileErrorNumber::FileNotFound
                                                             : FileErrorNumber::PathFileAccess;
    error =
        ErrorRecord{number, errorSource,
                    QFileInfo(path).fileName() + QStringLiteral(": ") + qt_error_string(reason)};
    return true;
}

// The record of a picture listed from damaged data, with the decoder's warning.
ErrorRecord damageRecord(const QString &path, const QString &what, const QString &warning)
{
    return ErrorRecord{invalidPictureError, errorSource,
                       QFileInfo(path).fileName() + QStringLiteral(": ") + what + warning};
}

// A kept list picture decoded and scaled to exactly `size`, with the decoder's warning.
DecodedJpeg listPicture(const QByteArray &jpeg, QSize size)
{
    DecodedJpeg decoded = decodeJpegForBox(jpeg, size);
    if (!decoded.isNull() && decoded.image.size() != size)
        decoded.image = decoded.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return decoded;
}

// Keeps a picture drawn here as a small JPEG; false, with the error set, when it cannot be.
bool keepDrawn(ProducedThumbnail &produced, const QString &path, const QImage &drawn)
{
    produced.jpeg = encodeJpeg(drawn, drawn.width(), drawn.height(), keptJpegQuality);
    if (produced.jpeg.isEmpty()) {
        produced.error = ErrorRecord{invalidPictureError, errorSource,
                                     QFileInfo(path).fileName() +
                                         QStringLiteral(": cannot keep the drawn thumbnail")};
        return false;
    }
    return true;
}

} // namespace

QString thumbnailSizeTag(qint64 width, qint64 height)
{
    const auto fiveDigits = [](qint64 value) {
        return QStringLiteral("%1").arg(qAbs(value) % 100000, 5, 10, QLatin1Char('0'));
    };
    return fiveDigits(width) + fiveDigits(height);
}

QImage decodeListPicture(const QByteArray &jpeg, QSize size)
{
    return listPicture(jpeg, size).image;
}

ThumbnailProducer::ThumbnailProducer(QSize imageSize, QColor background, bool autoOrient)
    : m_imageSize(imageSize), m_background(background), m_autoOrient(autoOrient)
{
}

// The Orientation comes from the header walk that looks for the thumbnail: no second read.
ProducedThumbnail ThumbnailProducer::operator()(const QString &path) const
{
    QByteArray thumb;
    ExifThumb exifThumb;
    const bool hasThumb = exifThumb.GetThumb(path, thumb) != 0;
    const int orientation = m_autoOrient ? exifThumb.Orientation() : ExifOrientation::Upright;
    if (hasThumb)
        return fromExifThumbnail(path, thumb, orientation);
    return fromFullPicture(path, orientation);
}

ProducedThumbnail ThumbnailProducer::fromExifThumbnail(const QString &path, const QByteArray &thumb,
                                                       int orientation) const
{
    const DecodedJpeg decoded = listPicture(thumb, m_imageSize);
    const bool asStored = orientation == ExifOrientation::Upright;
    const QImage image = asStored || decoded.isNull()
                             ? decoded.image
                             : shownExifThumbnail(decoded.image, orientation);
    if (image.isNull()) {
        ProducedThumbnail produced = badPicture(path, QStringLiteral("Exif thumbnail"));
        produced.fromExif = true;
        return produced;
    }
    ProducedThumbnail produced;
    produced.fromExif = true;
    if (asStored)
        produced.jpeg = thumb;
    else if (!keepDrawn(produced, path, image))
        return produced; // Outcome::Failed
    produced.outcome = ProducedThumbnail::Outcome::Listed;
    produced.image = image;
    if (decoded.isDamaged()) {
        produced.damaged = true;
        produced.error = damageRecord(path, QStringLiteral("Exif thumbnail: "), decoded.warning);
    }
    return produced;
}

// The thumbnail is stretched to the box as an upright one is, then shown as the tag says; a
// quarter turn makes it stand in the box, so it is painted to fit there.
QImage ThumbnailProducer::shownExifThumbnail(const QImage &stored, int orientation) const
{
    const QImage shown = shownImage(stored, orientation);
    if (!orientationSwapsSides(orientation))
        return shown;
    QImage drawn(m_imageSize, QImage::Format_RGB32);
    if (drawn.isNull() || PaintFit(drawn, shown, m_background) != 0)
        return {};
    return drawn;
}

ProducedThumbnail ThumbnailProducer::fromFullPicture(const QString &path, int orientation) const
{
    const DecodedJpeg decoded = decodeShownJpegFileForBox(path, m_imageSize, orientation);
    if (decoded.isNull()) {
        ProducedThumbnail produced;
        if (openFailure(path, produced.error))
            return produced; // Outcome::Failed
        return badPicture(path, decoded.error);
    }
    QImage drawn(m_imageSize, QImage::Format_RGB32);
    if (drawn.isNull() || PaintFit(drawn, decoded.image, m_background, decoded.fullSize) != 0)
        return badPicture(path, QStringLiteral("cannot draw the picture"));

    ProducedThumbnail produced;
    if (!keepDrawn(produced, path, drawn))
        return produced; // Outcome::Failed
    produced.outcome = ProducedThumbnail::Outcome::Listed;
    produced.image = drawn;
    if (decoded.isDamaged()) {
        produced.damaged = true;
        produced.error = damageRecord(path, QString(), decoded.warning);
    }
    const JpegSize size = GetJpegSize(path);
    produced.tag = thumbnailSizeTag(size.width, size.height);
    return produced;
}
