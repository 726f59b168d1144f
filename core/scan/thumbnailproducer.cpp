#include "core/scan/thumbnailproducer.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "core/scan/decodeturn.h"
#include "exif/exifthumb.h"
#include "exif/jpegdecode.h"
#include "exif/jpegencoder.h"
#include "exif/jpgsize.h"
#include "exif/paintfit.h"
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

// The picture's size for a thumbnail that does not record it.
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
    const DecodedJpeg decoded = decodeJpegForBox(jpeg, size);
    if (decoded.isNull())
        return {};
    if (decoded.image.size() == size)
        return decoded.image;
    return decoded.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

ThumbnailProducer::ThumbnailProducer(QSize imageSize, QColor background,
                                     std::optional<DesktopThumbnails> remembered)
    : m_imageSize(imageSize), m_background(background), m_remembered(std::move(remembered))
{
}

ProducedThumbnail ThumbnailProducer::operator()(const QString &path) const
{
    QByteArray thumb;
    ExifThumb exifThumb;
    if (exifThumb.GetThumb(path, thumb) != 0)
        return fromExifThumbnail(path, thumb);
    return fromFullPicture(path);
}

ProducedThumbnail ThumbnailProducer::fromExifThumbnail(const QString &path,
                                                       const QByteArray &thumb) const
{
    DecodeTurn turn;
    const QImage image = decodeListPicture(thumb, m_imageSize);
    if (image.isNull()) {
        ProducedThumbnail produced = badPicture(path, QStringLiteral("Exif thumbnail"));
        produced.fromExif = true;
        return produced;
    }
    ProducedThumbnail produced;
    produced.outcome = ProducedThumbnail::Outcome::Listed;
    produced.fromExif = true;
    produced.jpeg = thumb;
    produced.image = image;
    return produced;
}

ProducedThumbnail ThumbnailProducer::fromFullPicture(const QString &path) const
{
    const std::optional<DesktopThumbnails::Picture> picture =
        m_remembered ? DesktopThumbnails::describe(path) : std::nullopt;
    if (picture) {
        QSize fullSize;
        const QImage kept = m_remembered->find(*picture, &fullSize);
        if (!kept.isNull())
            return fromDrawing(path, kept, fullSize.isEmpty() ? sizeFromHeader(path) : fullSize);
        if (m_remembered->isKnownFailure(*picture))
            return badPicture(path, QStringLiteral("the picture could not be drawn before"));
    }
    return drawFullPicture(path, picture);
}

// `picture` names the file in the desktop's store, which then keeps the result.
ProducedThumbnail ThumbnailProducer::drawFullPicture(
    const QString &path, const std::optional<DesktopThumbnails::Picture> &picture) const
{
    QString readError;
    const QByteArray jpeg = readJpegFile(path, readError);
    const QSize largeBox(DesktopThumbnails::LargeSide, DesktopThumbnails::LargeSide);
    DecodeTurn turn;
    DecodedJpeg decoded;
    if (readError.isEmpty())
        decoded = decodeJpegForBox(jpeg, picture ? m_imageSize.expandedTo(largeBox) : m_imageSize);
    else
        decoded.error = readError;
    if (decoded.isNull()) {
        ProducedThumbnail produced;
        if (openFailure(path, produced.error))
            return produced; // Outcome::Failed
        if (picture)
            m_remembered->storeFailure(*picture);
        return badPicture(path, decoded.error);
    }
    if (picture)
        m_remembered->store(*picture, DesktopThumbnails::largeThumbnail(decoded.image),
                            decoded.fullSize);
    return fromDrawing(path, decoded.image, decoded.fullSize);
}

// The list picture painted from `picture`, a picture of `fullSize` pixels
// decoded or kept at any scale.
ProducedThumbnail ThumbnailProducer::fromDrawing(const QString &path, const QImage &picture,
                                                 QSize fullSize) const
{
    QImage drawn(m_imageSize, QImage::Format_RGB32);
    if (drawn.isNull() || PaintFit(drawn, picture, m_background, fullSize) != 0)
        return badPicture(path, QStringLiteral("cannot draw the picture"));

    ProducedThumbnail produced;
    produced.jpeg = encodeJpeg(drawn, drawn.width(), drawn.height(), keptJpegQuality);
    if (produced.jpeg.isEmpty()) {
        produced.error = ErrorRecord{invalidPictureError, errorSource,
                                     QFileInfo(path).fileName() +
                                         QStringLiteral(": cannot keep the drawn thumbnail")};
        return produced; // Outcome::Failed
    }
    produced.outcome = ProducedThumbnail::Outcome::Listed;
    produced.image = drawn;
    produced.tag = thumbnailSizeTag(fullSize.width(), fullSize.height());
    return produced;
}
