#include "exif/jpgtoexifrun.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "exif/buildahead.h"
#include "exif/exifdata.h"
#include "exif/filereadahead.h"
#include "exif/fileversion.h"
#include "exif/jpgtoexif.h"
#include "exif/workfile.h"

namespace
{

const QString kTempSuffix = QStringLiteral("VORNTMP");

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Gives the new file the picture's permissions and owner, and puts it on disk.
StepError settleNewFile(const QString &path, const FileVersion &picture)
{
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return StepError::fromErrno(errno, path);
    // Only root may give a file away; anyone else keeps owning the new file.
    if (::geteuid() == 0 && ::fchown(fd, picture.owner, picture.group) != 0) {
        const int error = errno;
        ::close(fd);
        return StepError::fromErrno(error, path);
    }
    if (::fchmod(fd, picture.mode & 07777) != 0 || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return StepError::fromErrno(error, path);
    }
    if (::close(fd) != 0)
        return StepError::fromErrno(errno, path);
    return StepError::none();
}

// Moves the built file from the work folder to its place beside the picture:
// a rename on the same file system, else a copy.
StepError placeBuiltFile(const QString &built, const QString &target, const FileVersion &picture)
{
    removeFile(target);
    if (::rename(nativePath(built).constData(), nativePath(target).constData()) != 0) {
        if (errno != EXDEV)
            return StepError::fromErrno(errno, target);
        QByteArray data;
        if (StepError error = readWholeFile(built, data); error.failed)
            return error;
        if (StepError error = writeNewFile(target, {QByteArrayView(data)}, FileSync::No);
            error.failed)
            return error;
        removeFile(built);
    }
    return settleNewFile(target, picture);
}

bool folderIsWritable(const QString &folder, StepError &error)
{
    if (::access(nativePath(folder).constData(), W_OK) == 0)
        return true;
    error = StepError::fromErrno(errno, folder);
    return errno != EACCES && errno != EROFS && errno != EPERM;
}

// The file a symbolic link points to is converted in its own folder, so that the
// link stays a link and the exchange of files happens on the picture's file system.
QString pictureBehind(const QString &path)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
    return target.isEmpty() ? path : target;
}

// What the workers find out and build for one picture ahead of its turn: no
// step here changes anything outside the private work folder.
struct PreparedFile {
    QString picture; // the file behind a symbolic link, else the path itself
    bool alreadyExif = false;
    FileVersion before; // taken before the build read the picture
    ExifBuild build;
    OwnedWorkFile built; // removed unless placed, also when a stopped run throws it away
};

PreparedFile prepareFile(const QString &path, qsizetype index, const Jpg2ExifOptions &options)
{
    PreparedFile prepared;
    prepared.picture = pictureBehind(path);
    // Taken first: any change to the picture from here on stops its conversion.
    statFile(prepared.picture, prepared.before);
    ExifData exif;
    exif.SetExif(path);
    prepared.alreadyExif = exif.IsExif();
    if (prepared.alreadyExif)
        return prepared;
    // Builds run side by side: each gets work files of its own.
    const QString workName =
        QLatin1String(kExifWorkName) + QLatin1Char('-') + QString::number(index);
    prepared.build = MakeExifFile(prepared.picture, options.quality, options.workFolder, workName);
    prepared.built = OwnedWorkFile(prepared.build.path);
    return prepared;
}

// The next file as it is at its turn. One that changed since it was read ahead
// (listed twice, or a link listed beside its picture) is read and built again
// now, so that it meets the run's own earlier steps as it would one at a time.
PreparedFile takePrepared(BuildAhead<PreparedFile> &ahead, const QString &path, qsizetype index,
                          const Jpg2ExifOptions &options)
{
    PreparedFile prepared = ahead.takeNext();
    FileVersion now;
    statFile(prepared.picture, now);
    if (now.sameAs(prepared.before))
        return prepared;
    prepared = PreparedFile(); // its work files go before the new build names them again
    return prepareFile(path, index, options);
}

enum class FileEnd { Next, EndRun };

// One picture through the steps; returns whether the run goes on. The file is
// reported and its attributes kept under the path given; the files are
// exchanged beside the picture itself.
class FileConversion
{
  public:
    FileConversion(const QString &path, const PreparedFile &prepared,
                   const Jpg2ExifOptions &options, const Jpg2ExifPorts &ports,
                   Jpg2ExifResult &result)
        : m_path(path), m_picture(prepared.picture), m_temp(m_picture + kTempSuffix),
          m_backup(jpg2ExifBackupPath(m_picture)), m_folder(QFileInfo(m_picture).absolutePath()),
          m_prepared(prepared), m_options(options), m_ports(ports), m_result(result)
    {
    }

    FileEnd run()
    {
        if (m_prepared.alreadyExif) {
            m_ports.fileDone(m_path, Jpg2ExifOutcome::AlreadyExif, QString());
            return FileEnd::Next;
        }
        return convert();
    }

  private:
    FileEnd convert()
    {
        StepError error = m_ports.readAttributes(m_path, m_attributes);
        if (error.failed) {
            // Not the file's failure: it is converted and keeps what attributes it gets.
            m_ports.log(QStringLiteral("jpg2exifhenkan 0"), error);
            m_attributesKnown = false;
        }
        if (!folderIsWritable(m_folder, error)) {
            failed(error.description);
            m_result.end = Jpg2ExifEnd::WriteDenied;
            return FileEnd::EndRun;
        }

        const ExifBuild &build = m_prepared.build;
        if (!build.ok()) {
            for (const QString &label : build.labels)
                m_ports.log(label, build.error);
            return failed(build.labels.value(0) + QStringLiteral(": ") + build.error.description);
        }
        if (error = placeBuiltFile(build.path, m_temp, m_prepared.before); error.failed)
            return failedAfterBuild(m_path + QStringLiteral("jpg2exifhenkan 5"), error);
        FileVersion now;
        if (error = statFile(m_picture, now); !error.failed && !now.sameAs(m_prepared.before))
            error = StepError::because(m_path + QStringLiteral(": changed while being converted"));
        if (error.failed)
            return failedAfterBuild(m_path + QStringLiteral("jpg2exifhenkan 5"), error);
        return replace();
    }

    FileEnd replace()
    {
        bool backupIsLink = false;
        if (m_options.keepBackup) {
            const BackupStep step = makeBackup(backupIsLink);
            if (step != BackupStep::Made)
                return step == BackupStep::NameTaken ? FileEnd::EndRun : FileEnd::Next;
        }
        if (StepError error = renameFile(m_temp, m_picture); error.failed) {
            // The picture goes back under its own name.
            if (m_options.keepBackup && backupIsLink)
                removeFile(m_backup);
            else if (m_options.keepBackup)
                renameFile(m_backup, m_picture);
            return failedAfterBuild(m_path + QStringLiteral("jpg2exifhenkan 3"), error);
        }
        syncFolder(m_folder);
        if (m_attributesKnown) {
            if (StepError error = m_ports.writeAttributes(m_path, m_attributes); error.failed)
                return failedAt(m_path + QStringLiteral("jpg2exifhenkan 4"), error);
        }
        ++m_result.converted;
        m_ports.fileDone(m_path, Jpg2ExifOutcome::Converted, QString());
        return FileEnd::Next;
    }

    enum class BackupStep { Made, NameTaken, Failed };

    // The unconverted file under its backup name: a second link, so that the
    // picture keeps its own name throughout, or a rename where the file system
    // has no links. An existing backup is never replaced.
    BackupStep makeBackup(bool &isLink)
    {
        StepError error = m_ports.hardLink(m_picture, m_backup);
        isLink = !error.failed;
        if (isLink)
            return BackupStep::Made;
        if (error.systemError != EEXIST && !QFileInfo::exists(m_backup)) {
            if (hasNoHardLinks(error.systemError))
                error = renameFile(m_picture, m_backup);
            if (!error.failed)
                return BackupStep::Made;
            failedAfterBuild(QStringLiteral("jpg2exifhenkan 1"), error);
            return BackupStep::Failed;
        }
        removeFile(m_temp);
        failed(m_backup + QStringLiteral(": already exists"));
        m_result.end = Jpg2ExifEnd::BackupExists;
        return BackupStep::NameTaken;
    }

    // The file ends unconverted for this reason.
    FileEnd failed(const QString &reason)
    {
        m_ports.fileDone(m_path, Jpg2ExifOutcome::Failed, reason);
        return FileEnd::Next;
    }

    FileEnd failedAt(const QString &label, const StepError &error)
    {
        m_ports.log(label, error);
        return failed(label + QStringLiteral(": ") + error.description);
    }

    FileEnd failedAfterBuild(const QString &label, const StepError &error)
    {
        removeFile(m_temp);
        return failedAt(label, error);
    }

    QString m_path, m_picture, m_temp, m_backup, m_folder;
    const PreparedFile &m_prepared;
    const Jpg2ExifOptions &m_options;
    const Jpg2ExifPorts &m_ports;
    Jpg2ExifResult &m_result;
    int m_attributes = 0;
    bool m_attributesKnown = true;
};

} // namespace

QString jpg2ExifBackupPath(const QString &path)
{
    // Only a dot in the name itself starts an extension, and not a leading one (".name").
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot > nameStart ? path.left(dot) : path) + QStringLiteral(".bak");
}

Jpg2ExifResult runJpg2Exif(const QStringList &paths, const Jpg2ExifOptions &options,
                           const Jpg2ExifPorts &ports)
{
    Jpg2ExifResult result;
    // Files are read and built ahead on the workers; the steps that change the
    // user's folder, and every report, follow here in list order. Leaving the
    // loop early throws away what was built ahead.
    BuildAhead<PreparedFile> ahead(
        paths.size(), [&](qsizetype i) { return prepareFile(paths[i], i, options); },
        options.workers > 0 ? options.workers : buildAheadWorkers());
    FileReadAhead readAhead(paths);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        readAhead.reached(int(i));
        const PreparedFile prepared = takePrepared(ahead, paths[i], i, options);
        FileConversion conversion(paths[i], prepared, options, ports, result);
        if (conversion.run() == FileEnd::EndRun)
            break;
        ports.progress(int(i + 1), int(paths.size()));
        if (!ports.keepRunning()) {
            result.end = i + 1 < paths.size() ? Jpg2ExifEnd::Stopped : Jpg2ExifEnd::Finished;
            break;
        }
    }
    return result;
}
