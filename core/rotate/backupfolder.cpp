#include "core/rotate/backupfolder.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include "exif/exifdata.h"

namespace
{

const QString kBadCharacters = QStringLiteral("\\/:,;*?\"<>|");

bool exists(const QString &path)
{
    struct stat info {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// A real shooting date (a missing one reads as blanks between the separators,
// a camera without its clock set writes zeros) and real pixel sizes: without
// them two different pictures would look alike.
bool hasShootingData(const ExifData &exif)
{
    const QString date = exif.DateExif();
    return QDate::fromString(date.left(10), QStringLiteral("yyyy/MM/dd")).isValid() &&
           QTime::fromString(date.mid(11), QStringLiteral("HH:mm:ss")).isValid() &&
           exif.SizeExifX() > 0 && exif.SizeExifY() > 0;
}

} // namespace

bool isPlainFolderName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (kBadCharacters.contains(c) || c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool isRealFolder(const QString &path)
{
    struct stat info {
    };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

BackupFolder makeBackupFolder(const QString &pictureFolder, const QString &name)
{
    BackupFolder folder;
    if (!isPlainFolderName(name)) {
        folder.state = BackupFolderState::BadName;
        folder.error = StepError::because(name + QStringLiteral(": not a plain folder name"));
        return folder;
    }
    const QString path = pictureFolder + u'/' + name;
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST) {
        folder.error = StepError::fromErrno(errno, path);
        return folder;
    }
    if (!isRealFolder(path)) {
        folder.error = StepError::because(path + QStringLiteral(": not a folder"));
        return folder;
    }
    folder.state = BackupFolderState::Ready;
    folder.path = path;
    return folder;
}

bool isSamePicture(const QString &a, const QString &b)
{
    ExifData first, second;
    first.SetExif(a);
    second.SetExif(b);
    if (!hasShootingData(first) || !hasShootingData(second) ||
        first.DateExif() != second.DateExif())
        return false;
    const auto sizes = [](const ExifData &exif) {
        return std::minmax(
            {exif.SizeExifX(),
             exif.SizeExifY()}); // the list form returns values, not references to temporaries
    };
    return sizes(first) == sizes(second);
}

QString freeNumberedName(const QString &folder, const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString base = fileName.left(fileName.size() - suffix.size());
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix);
        if (!exists(folder + u'/' + candidate))
            return candidate;
    }
}
