#include "core/scan/thumbnailproducer.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "core/scan/decodeturn.h"
#include "exif/exifthumb.h"
#include "exif/filereadahead.h"
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

// The picture's size as stored, for the size tag.
QSize sizeFromHeader(const QString &path)
{
    const JpegSize size = GetJpegSize(path);
    return {size.width, size.height};
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

ThumbnailProducer::ThumbnailProducer(QSize imageSize, QColor background, bool autoOrient,
                                     std::optional<DesktopThumbnails> remembered)
    : m_imageSize(imageSize), m_background(background), m_autoOrient(autoOrient),
      m_remembered(std::move(remembered))
{
}

// The Orientation comes from the header walk that looks for the thumbnail: no second read.
ProducedThumbnail ThumbnailProducer::operator()(const QString &path) const
{
    QByteArray thumb;
    ExifThumb exifThumb;
    const bool hasThumb = exifThumb.GetThumb(path, thumb) != 0;
    const int stored = exifThumb.Orientation();
    const int orientation = m_autoOrient ? stored : ExifOrientation::Upright;
    if (hasThumb)
        return fromExifThumbnail(path, thumb, orientation);
    // The desktop's store holds pictures upright, as every program shows them.
    const bool remember = m_remembered && (m_autoOrient || stored == ExifOrientation::Upright);
    return fromFullPicture(path, orientation, remember);
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

// With `remember`, the desktop's store is asked first and keeps what is drawn.
ProducedThumbnail ThumbnailProducer::fromFullPicture(const QString &path, int orientation,
                                                     bool remember) const
{
    const std::optional<DesktopThumbnails::Picture> picture =
        remember ? DesktopThumbnails::describe(path) : std::nullopt;
    if (picture) {
        QSize storedSize;
        const QImage kept = m_remembered->find(*picture, &storedSize);
        if (!kept.isNull())
            return fromDrawing(path, kept, kept.size(),
                               storedSize.isEmpty() ? sizeFromHeader(path) : storedSize);
        if (m_remembered->isKnownFailure(*picture))
            return badPicture(path, QStringLiteral("the picture could not be drawn before"));
    }
    return drawFullPicture(path, orientation, picture);
}

// `picture` names the file in the desktop's store, which then keeps the result. The file is
// read into the page cache before the decode takes its turn: on a share or a cold disk the
// reads of many files then overlap, while the decodes keep to one per processor.
ProducedThumbnail
ThumbnailProducer::drawFullPicture(const QString &path, int orientation,
                                   const std::optional<DesktopThumbnails::Picture> &picture) const
{
    readIntoPageCache(path, FileReadAhead::MaxBytesPerFile);
    const QSize largeBox(DesktopThumbnails::LargeSide, DesktopThumbnails::LargeSide);
    DecodeTurn turn;
    const DecodedJpeg decoded = decodeShownJpegFileForBox(
        path, picture ? m_imageSize.expandedTo(largeBox) : m_imageSize, orientation);
    if (decoded.isNull()) {
        ProducedThumbnail produced;
        if (openFailure(path, produced.error))
            return produced; // Outcome::Failed
        if (picture)
            m_remembered->storeFailure(*picture);
        return badPicture(path, decoded.error);
    }
    const QSize storedSize = sizeFromHeader(path);
    // A damaged picture is drawn anew at every visit, so that its warning is logged each time.
    if (picture && !decoded.isDamaged())
        m_remembered->store(*picture, DesktopThumbnails::largeThumbnail(decoded.image), storedSize);
    ProducedThumbnail produced = fromDrawing(path, decoded.image, decoded.fullSize, storedSize);
    if (produced.outcome == ProducedThumbnail::Outcome::Listed && decoded.isDamaged()) {
        produced.damaged = true;
        produced.error = damageRecord(path, QString(), decoded.warning);
    }
    return produced;
}

// The list picture painted from `picture`, a picture of `fullSize` pixels as shown, decoded or
// kept at any scale; `storedSize` is its size in the file, which the size tag gives.
ProducedThumbnail ThumbnailProducer::fromDrawing(const QString &path, const QImage &picture,
                                                 QSize fullSize, QSize storedSize) const
{
    QImage drawn(m_imageSize, QImage::Format_RGB32);
    if (drawn.isNull() || PaintFit(drawn, picture, m_background, fullSize) != 0)
        return badPicture(path, QStringLiteral("cannot draw the picture"));

    ProducedThumbnail produced;
    if (!keepDrawn(produced, path, drawn))
        return produced; // Outcome::Failed
    produced.outcome = ProducedThumbnail::Outcome::Listed;
    produced.image = drawn;
    produced.tag = thumbnailSizeTag(storedSize.width(), storedSize.height());
    return produced;
}
