#include "core/fileops/filetransfer.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include <QFile>

#include "core/fileops/workcopy.h"
#include "core/rotate/backupfolder.h"
#include "exif/workfile.h"

namespace
{

// The hidden bit of the attribute word.
constexpr int kHiddenAttribute = 2;

enum class Placing { New, Replace };
enum class Decision { Place, Replace, Skip, Cancel };
enum class PictureResult { Done, Skipped, Failed, Cancelled };

bool lstatOf(const QString &path, struct stat &info)
{
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool isTaken(const QString &path)
{
    struct stat info {
    };
    return lstatOf(path, info);
}

bool isRegularFile(const QString &path)
{
    struct stat info {
    };
    return lstatOf(path, info) && S_ISREG(info.st_mode);
}

bool isSameFile(const QString &a, const QString &b)
{
    struct stat first {
    };
    struct stat second {
    };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

StepError placeFile(const QString &from, const QString &to, Placing placing)
{
    return placing == Placing::Replace ? renameFile(from, to) : renameNoReplace(from, to);
}

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/'));
}

// A failed transfer named by its picture, never by the hidden work file the step was writing,
// with the system's reason.
StepError aboutPicture(const QString &picture, TransferKind kind, const StepError &error)
{
    StepError named = error;
    named.description =
        picture +
        (kind == TransferKind::Copy ? QStringLiteral(" をｺﾋﾟｰできません: ")
                                    : QStringLiteral(" を移動できません: ")) +
        (error.systemError != 0 ? QString::fromLocal8Bit(std::strerror(error.systemError))
                                : error.description);
    return named;
}

class TransferRun
{
  public:
    TransferRun(const TransferRequest &request, const TransferPorts &ports)
        : m_request(request), m_ports(ports)
    {
    }

    TransferSummary run();

  private:
    PictureResult transferPicture(const QString &name);
    Decision decide(const QString &target);
    void transferBackup(const QString &name, Placing placing);
    QString destinationBackupFolder();
    StepError transferFile(const QString &from, const QString &to, Placing placing);
    StepError copyInto(const QString &from, const QString &to, Placing placing);
    StepError moveInto(const QString &from, const QString &to, Placing placing);
    void syncFolders();

    const TransferRequest &m_request;
    const TransferPorts &m_ports;
    bool m_overwriteAll = false;
    bool m_backupFolderTried = false;
    QString m_destinationBackup; // empty until made, or when it could not be made
};

TransferSummary TransferRun::run()
{
    TransferSummary summary;
    const int total = int(m_request.names.size());
    for (int i = 0; i < total; ++i) {
        m_ports.progress(i + 1, total);
        if (!m_ports.keepRunning()) {
            summary.cancelled = true;
            break;
        }
        const PictureResult result = transferPicture(m_request.names.at(i));
        if (result == PictureResult::Cancelled) {
            summary.cancelled = true;
            break;
        }
        summary.done += result == PictureResult::Done;
        summary.skipped += result == PictureResult::Skipped;
        summary.failed += result == PictureResult::Failed;
    }
    syncFolders();
    return summary;
}

PictureResult TransferRun::transferPicture(const QString &name)
{
    const QString source = m_request.sourceFolder + u'/' + name;
    const QString target = m_request.destination + u'/' + name;
    if (!isTaken(source)) {
        m_ports.failed(source, StepError::fromErrno(ENOENT, source));
        return PictureResult::Failed;
    }
    if (isSameFile(source, target)) {
        m_ports.failed(source, StepError::because(target + QStringLiteral(": is the file itself")));
        return PictureResult::Skipped;
    }
    const Decision decision = decide(target);
    if (decision == Decision::Cancel)
        return PictureResult::Cancelled;
    if (decision == Decision::Skip)
        return PictureResult::Skipped;
    const Placing placing = decision == Decision::Replace ? Placing::Replace : Placing::New;
    const StepError error = transferFile(source, target, placing);
    if (error.failed) {
        m_ports.failed(source, aboutPicture(source, m_request.kind, error));
        return PictureResult::Failed;
    }
    transferBackup(name, placing);
    return PictureResult::Done;
}

Decision TransferRun::decide(const QString &target)
{
    if (!isTaken(target))
        return Decision::Place;
    if (m_overwriteAll)
        return Decision::Replace;
    switch (m_ports.askOverwrite(target)) {
    case OverwriteAnswer::YesToAll:
        m_overwriteAll = true;
        return Decision::Replace;
    case OverwriteAnswer::Yes:
        return Decision::Replace;
    case OverwriteAnswer::No:
        return Decision::Skip;
    case OverwriteAnswer::Cancel:
        break;
    }
    return Decision::Cancel;
}

// The backup follows under the picture's own answer; without one (no clash at the picture) an
// existing backup of that name at the destination is kept and the failure logged.
void TransferRun::transferBackup(const QString &name, Placing placing)
{
    if (m_request.backupFolderName.isEmpty())
        return;
    const QString source = m_request.sourceFolder + u'/' + m_request.backupFolderName + u'/' + name;
    if (!isRegularFile(source))
        return;
    const QString folder = destinationBackupFolder();
    if (folder.isEmpty())
        return;
    const QString target = folder + u'/' + name;
    if (isSameFile(source, target))
        return;
    const StepError error = transferFile(source, target, placing);
    if (error.failed)
        m_ports.failed(source, aboutPicture(source, m_request.kind, error));
}

QString TransferRun::destinationBackupFolder()
{
    if (m_backupFolderTried)
        return m_destinationBackup;
    m_backupFolderTried = true;
    const BackupFolder folder = makeBackupFolder(m_request.destination, m_request.backupFolderName);
    if (folder.state == BackupFolderState::Ready)
        m_destinationBackup = folder.path;
    else
        m_ports.failed(m_request.destination + u'/' + m_request.backupFolderName, folder.error);
    return m_destinationBackup;
}

// The marks are read before the file leaves (a move takes its ".hidden" line away with it). A
// private picture is listed at the destination before it arrives, so that no moment shows it
// public there; one that cannot be listed stays where it is. A mark that cannot be carried
// afterwards is logged, but the file itself has travelled.
StepError TransferRun::transferFile(const QString &from, const QString &to, Placing placing)
{
    int attributes = 0;
    const StepError readError = m_ports.readAttributes(from, attributes);
    bool listedAhead = false;
    if (!readError.failed && (attributes & kHiddenAttribute)) {
        if (StepError error = m_ports.listPrivateAhead(to, listedAhead); error.failed)
            return error;
    }
    const StepError error = m_request.kind == TransferKind::Copy ? copyInto(from, to, placing)
                                                                 : moveInto(from, to, placing);
    if (error.failed) {
        if (listedAhead)
            m_ports.forgetHiddenEntry(to);
        return error;
    }
    if (m_request.kind == TransferKind::Move)
        m_ports.forgetHiddenEntry(from);
    const StepError markError =
        readError.failed ? readError : m_ports.writeAttributes(to, attributes);
    if (markError.failed)
        m_ports.failed(to, markError);
    return StepError::none();
}

// A copy to a free name leaves its source as it was, so it need not reach the disk before the
// next one starts (a flush per file costs several times the copy). One that replaces a file, or
// whose source a move removes next, is the only copy left and is on disk before it is placed.
StepError TransferRun::copyInto(const QString &from, const QString &to, Placing placing)
{
    const bool onlyCopyLeft = placing == Placing::Replace || m_request.kind == TransferKind::Move;
    QString workPath;
    const StepError copyError =
        copyToWorkFile(from, folderOf(to), onlyCopyLeft ? FileSync::Yes : FileSync::No, workPath);
    if (copyError.failed)
        return copyError;
    const StepError placeError = placeFile(workPath, to, placing);
    if (placeError.failed)
        removeFile(workPath);
    return placeError;
}

// Across file systems the source goes only once its copy is in place and on disk.
StepError TransferRun::moveInto(const QString &from, const QString &to, Placing placing)
{
    const StepError renameError = placeFile(from, to, placing);
    if (!renameError.failed || renameError.systemError != EXDEV)
        return renameError;
    StepError error = copyInto(from, to, placing);
    if (!error.failed)
        error = syncFolder(folderOf(to));
    if (!error.failed)
        error = removeFile(from);
    return error;
}

void TransferRun::syncFolders()
{
    QStringList folders = {m_request.destination};
    if (!m_destinationBackup.isEmpty())
        folders.append(m_destinationBackup);
    if (m_request.kind == TransferKind::Move)
        folders.append(m_request.sourceFolder);
    for (const QString &folder : folders) {
        const StepError error = syncFolder(folder);
        if (error.failed)
            m_ports.failed(folder, error);
    }
}

} // namespace

TransferSummary transferPictures(const TransferRequest &request, const TransferPorts &ports)
{
    return TransferRun(request, ports).run();
}

bool destinationIsOwnFolder(const TransferRequest &request)
{
    if (isSameFile(request.destination, request.sourceFolder))
        return true;
    return !request.backupFolderName.isEmpty() &&
           isSameFile(request.destination, request.sourceFolder + u'/' + request.backupFolderName);
}
