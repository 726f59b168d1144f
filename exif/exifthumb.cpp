#include "exif/exifthumb.h"

#include "exif/exiftags.h"
#include "exif/filebytereader.h"
#include "exif/readerror.h"
#include "exif/tiffreader.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The thumbnail lies inside the APP1 segment, which holds at most 65,535 bytes.
constexpr quint32 kMaxThumbLength = 65535;

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        p += written;
        left -= written;
    }
    return true;
}

// Writes the thumbnail into the work file from its first byte and cuts a longer old file to
// the new length. The file is never truncated to zero or replaced by a rename, and no sync is
// asked for: either makes ext4 flush the file to disk on close, which costs several times the
// whole parse, and a work file need not survive a crash. A link planted at the target is not
// followed, and anything but a regular file is refused.
bool writeThumbFile(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    struct stat info {
    };
    const bool written = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && writeAll(fd, bytes) &&
                         (info.st_size <= bytes.size() || ::ftruncate(fd, bytes.size()) == 0);
    return ::close(fd) == 0 && written;
}

} // namespace

qint16 ExifThumb::GetThumb(const QString &source, const QString &thumbPath)
{
    QByteArray thumb;
    const qint16 length = GetThumb(source, thumb);
    if (length == 0)
        return 0;
    m_hasThumb = false;
    if (!writeThumbFile(thumbPath, thumb))
        return fail(ReadError::PathFileAccess);
    m_hasThumb = true;
    return length;
}

qint16 ExifThumb::GetThumb(const QString &source, QByteArray &thumb)
{
    thumb.clear();
    m_path = source;
    m_hasThumb = false;
    m_exifIfdOffset = 0;
    m_thumbOffset = 0;
    m_thumbLength = 0;

    FileByteReader file;
    if (const qint32 error = file.open(source))
        return fail(error);
    TiffReader tiff(file);
    const std::optional<bool> isExif = tiff.readHeader();
    if (!isExif)
        return fail(tiff.error());
    m_byteOrderMark = tiff.byteOrderMark();
    m_isExif = *isExif;
    if (!m_isExif)
        return 0;
    if (tiff.isKnownByteOrder() && !readThumbTags(tiff))
        return fail(tiff.error());

    if (m_thumbLength == 0 || m_thumbLength > kMaxThumbLength)
        return 0;
    // Bytes past the end of the file read as zeros.
    const auto bytes = file.bytesUpTo(tiff.fileOffset(m_thumbOffset), m_thumbLength);
    if (!bytes)
        return fail(ReadError::PathFileAccess);
    thumb = *bytes;
    thumb.append(QByteArray(m_thumbLength - thumb.size(), '\0'));
    m_hasThumb = true;
    return static_cast<qint16>(m_thumbLength);
}

bool ExifThumb::readThumbTags(TiffReader &tiff)
{
    const auto ifd0 = tiff.directory(tiff.ifd0Offset());
    if (!ifd0)
        return false;
    // Without IFD1 there is no thumbnail, and the Exif IFD is not read either.
    if (ifd0->nextOffset == 0)
        return tiff.error() == 0;
    keepThumbTags(*ifd0);
    if (m_exifIfdOffset != 0) {
        const auto exifIfd = tiff.directory(m_exifIfdOffset);
        if (!exifIfd)
            return false;
        keepThumbTags(*exifIfd);
    }
    const auto ifd1 = tiff.directory(ifd0->nextOffset);
    if (!ifd1)
        return false;
    keepThumbTags(*ifd1);
    return tiff.error() == 0;
}

void ExifThumb::keepThumbTags(const IfdDirectory &directory)
{
    for (const IfdEntry &entry : directory.entries) {
        if (entry.tag == ExifTag::ExifIfdPointer)
            m_exifIfdOffset = entry.value;
        else if (entry.tag == ExifTag::JpegInterchangeFormat)
            m_thumbOffset = entry.value;
        else if (entry.tag == ExifTag::JpegInterchangeFormatLength)
            m_thumbLength = entry.value;
    }
}

qint16 ExifThumb::fail(qint32 error)
{
    m_isExif = false;
    m_hasThumb = false;
    m_error = error;
    return 0;
}
