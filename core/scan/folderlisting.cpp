#include "core/scan/folderlisting.h"

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/fileerror.h"

namespace
{

const QString enumerationSource = QStringLiteral("File1");

ErrorRecord folderError(int number, const QString &folder, const QString &why)
{
    return ErrorRecord{number, enumerationSource, folder + QStringLiteral(": ") + why};
}

bool hasJpgEnding(QByteArrayView name)
{
    return name.size() > 4 && qstrnicmp(name.data() + name.size() - 4, ".jpg", 4) == 0;
}

// The regular files (or links to them) named "*.jpg" whose names are not valid UTF-8, which
// the folder's enumeration leaves out.
int countUndecodableJpegNames(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int count = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        struct stat info {
        };
        if (hasJpgEnding(name) && !name.isValidUtf8() &&
            ::fstatat(::dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
            ++count;
    }
    ::closedir(dir);
    return count;
}

} // namespace

VisibleMode visibleModeFromSetting(int gVisibleMode)
{
    switch (gVisibleMode) {
    case 1:
        return VisibleMode::PublicOnly;
    case 2:
        return VisibleMode::PrivateOnly;
    default:
        return VisibleMode::All;
    }
}

bool jpegNameLess(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return a < b;
}

FolderListing listJpegFiles(const QString &folder, VisibleMode mode, const HiddenTest &isHidden)
{
    FolderListing listing;
    const QFileInfo info(folder);
    listing.folderPath = QDir::cleanPath(info.absoluteFilePath());
    if (!info.exists()) {
        listing.error = folderError(FileErrorNumber::FileNotFound, folder,
                                    QStringLiteral("No such file or directory"));
        return listing;
    }
    if (!info.isDir()) {
        listing.error =
            folderError(FileErrorNumber::FileNotFound, folder, QStringLiteral("Not a directory"));
        return listing;
    }
    QDir dir(listing.folderPath);
    if (!dir.isReadable()) {
        listing.error = folderError(FileErrorNumber::PathFileAccess, folder,
                                    QStringLiteral("Permission denied"));
        return listing;
    }

    // QDir matches name filters without regard to case unless told otherwise.
    QStringList all =
        dir.entryList({QStringLiteral("*.jpg")}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    std::sort(all.begin(), all.end(), jpegNameLess);
    listing.total = int(all.size());
    listing.undecodable = countUndecodableJpegNames(listing.folderPath);
    listing.ok = true;

    if (mode == VisibleMode::All) {
        listing.names = std::move(all);
        return listing;
    }
    const bool wantHidden = mode == VisibleMode::PrivateOnly;
    for (const QString &name : all) {
        const bool hidden = isHidden && isHidden(name);
        if (hidden == wantHidden)
            listing.names.append(name);
    }
    return listing;
}
