#include "core/scan/desktopthumbnails.h"

#include <atomic>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QUrl>

#include "exif/workfile.h"

namespace
{

// A large thumbnail is a few dozen kilobytes; anything far bigger is not one.
constexpr qint64 maxThumbnailBytes = 4 * 1024 * 1024;
// Stored without compression: a drawn thumbnail is written at every first visit,
// and compressing it cost several percent of drawing it.
constexpr int pngQuality = 100;

const QString uriKey = QStringLiteral("Thumb::URI");
const QString modifiedKey = QStringLiteral("Thumb::MTime");
const QString sizeKey = QStringLiteral("Thumb::Size");
const QString widthKey = QStringLiteral("Thumb::Image::Width");
const QString heightKey = QStringLiteral("Thumb::Image::Height");

// The whole of a small regular file, read without blocking on a FIFO; none for
// anything else (a huge file is not a thumbnail).
std::optional<QByteArray> readSmallFile(const QString &path)
{
    QByteArray data;
    if (readWholeFile(path, data, maxThumbnailBytes).failed)
        return std::nullopt;
    return data;
}

// Folders of the store are private to the user.
bool makePrivateFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || errno == EEXIST)
        return QFileInfo(path).isDir();
    return false;
}

// Writes `image` with the store's keys under a new name beside `path`, then
// renames it into place, so that no reader sees half a file.
bool writeThumbnail(const QString &path, QImage image, const QStringList &keysAndValues)
{
    for (qsizetype i = 0; i + 1 < keysAndValues.size(); i += 2)
        image.setText(keysAndValues[i], keysAndValues[i + 1]);
    image.setText(QStringLiteral("Software"), QStringLiteral("Tabilo " TABILO_VERSION));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(pngQuality);
    if (!writer.write(image))
        return false;

    // A name of this process and call: threads write side by side.
    static std::atomic<unsigned> calls{0};
    const QString work = path + QStringLiteral(".%1-%2").arg(::getpid()).arg(calls++);
    if (!writeNewFile(work, {buffer.data()}, FileSync::No).failed && !renameFile(work, path).failed)
        return true;
    QFile::remove(work);
    return false;
}

// The store names a thumbnail by the MD5 of its picture's address.
QString fileName(const DesktopThumbnails::Picture &picture)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(picture.uri.toUtf8(), QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

} // namespace

DesktopThumbnails::DesktopThumbnails(QString root, QString program)
    : m_root(std::move(root)), m_program(std::move(program))
{
}

QString DesktopThumbnails::defaultRoot()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/thumbnails");
}

std::optional<DesktopThumbnails::Picture> DesktopThumbnails::describe(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    struct stat status {
    };
    if (::stat(QFile::encodeName(absolute).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Picture{QString::fromLatin1(QUrl::fromLocalFile(absolute).toEncoded()),
                   qint64(status.st_mtime), qint64(status.st_size)};
}

QImage DesktopThumbnails::find(const Picture &picture, QSize *fullSize) const
{
    const std::optional<QByteArray> bytes = readSmallFile(largePath(picture));
    if (!bytes)
        return {};
    QBuffer buffer;
    buffer.setData(*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > LargeSide || size.height() > LargeSide)
        return {};
    QImage image;
    if (!reader.read(&image) || image.size() != size)
        return {};
    const QString recordedSize = image.text(sizeKey);
    if (image.text(uriKey) != picture.uri ||
        image.text(modifiedKey) != QString::number(picture.modified) ||
        (!recordedSize.isEmpty() && recordedSize != QString::number(picture.bytes)))
        return {};
    const QSize recordedFull(image.text(widthKey).toInt(), image.text(heightKey).toInt());
    if (fullSize && !recordedFull.isEmpty())
        *fullSize = recordedFull;
    return image.convertToFormat(QImage::Format_RGB32);
}

bool DesktopThumbnails::store(const Picture &picture, const QImage &thumbnail, QSize fullSize) const
{
    if (thumbnail.isNull() || thumbnail.width() > LargeSide || thumbnail.height() > LargeSide)
        return false;
    if (!makeStoreFolder() || !makePrivateFolder(m_root + QStringLiteral("/large")))
        return false;
    QStringList keys{uriKey,      picture.uri,
                     modifiedKey, QString::number(picture.modified),
                     sizeKey,     QString::number(picture.bytes)};
    if (!fullSize.isEmpty())
        keys << widthKey << QString::number(fullSize.width()) << heightKey
             << QString::number(fullSize.height());
    return writeThumbnail(largePath(picture), thumbnail, keys);
}

bool DesktopThumbnails::isKnownFailure(const Picture &picture) const
{
    const std::optional<QByteArray> bytes = readSmallFile(failurePath(picture));
    if (!bytes)
        return false;
    const QImage mark = QImage::fromData(*bytes, "png");
    return !mark.isNull() && mark.text(uriKey) == picture.uri &&
           mark.text(modifiedKey) == QString::number(picture.modified);
}

bool DesktopThumbnails::storeFailure(const Picture &picture) const
{
    const QString fail = m_root + QStringLiteral("/fail");
    if (!makeStoreFolder() || !makePrivateFolder(fail) ||
        !makePrivateFolder(fail + QLatin1Char('/') + m_program))
        return false;
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    return writeThumbnail(failurePath(picture), mark,
                          {uriKey, picture.uri, modifiedKey, QString::number(picture.modified)});
}

// The store's own folder, and the cache folder it lies in on a new account.
bool DesktopThumbnails::makeStoreFolder() const
{
    return QDir().mkpath(QFileInfo(m_root).path()) && makePrivateFolder(m_root);
}

QImage DesktopThumbnails::largeThumbnail(const QImage &image)
{
    if (image.width() <= LargeSide && image.height() <= LargeSide)
        return image;
    return image.scaled(LargeSide, LargeSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString DesktopThumbnails::largePath(const Picture &picture) const
{
    return m_root + QStringLiteral("/large/") + fileName(picture);
}

QString DesktopThumbnails::failurePath(const Picture &picture) const
{
    return m_root + QStringLiteral("/fail/") + m_program + QLatin1Char('/') + fileName(picture);
}
