#include "core/rotate/rotatefile.h"

#include <cerrno>

#include <unistd.h>

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>

#include "core/rotate/backupfolder.h"
#include "exif/exiftoexif.h"
#include "exif/jpeglayout.h"
#include "exif/workfile.h"
#include "spinwell/spinwell.h"

namespace
{

constexpr int kNameAttempts = 100;

QAtomicInteger<quint32> g_workFileCounter;

// The two work files of one picture, hidden names of this process that no
// "*.jpg" pattern matches, created exclusively and removed on every path out
// unless one of them has taken the picture's name.
class WorkFiles
{
  public:
    explicit WorkFiles(const QString &picture) : m_picture(picture) {}
    ~WorkFiles()
    {
        removeFile(without);
        removeFile(with);
    }
    WorkFiles(const WorkFiles &) = delete;
    WorkFiles &operator=(const WorkFiles &) = delete;

    StepError create()
    {
        StepError error = createOne(QStringLiteral("without"), without);
        if (!error.failed)
            error = createOne(QStringLiteral("with"), with);
        return error;
    }

    QString without, with;

  private:
    StepError createOne(const QString &kind, QString &path)
    {
        const QFileInfo info(m_picture);
        StepError error;
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            path = info.path() + QStringLiteral("/.") + info.fileName() +
                   QStringLiteral(".turn-%1-%2-%3")
                       .arg(::getpid())
                       .arg(g_workFileCounter.fetchAndAddRelaxed(1))
                       .arg(kind);
            error = createExclusive(path);
            if (!error.failed || error.systemError != EEXIST)
                break;
        }
        if (error.failed)
            path.clear();
        return error;
    }

    QString m_picture;
};

bool isCompleteJpeg(const QString &path)
{
    QByteArray bytes;
    if (readWholeFile(path, bytes).failed)
        return false;
    const JpegLayout layout = readJpegLayout(bytes);
    return layout.walked && layout.endsAfterScan;
}

RotateFileResult failure(qint32 code, const QString &reason)
{
    return {RotateOutcome::Failed, code, reason};
}

RotateFileResult stepFailure(const StepError &error)
{
    return failure(RotateStepFailed, error.description);
}

class FileRotation
{
  public:
    FileRotation(const QString &picture, const RotateSettings &settings, const RotatePorts &ports)
        : m_picture(picture), m_settings(settings), m_ports(ports), m_work(picture)
    {
    }

    RotateFileResult run()
    {
        if (!QFileInfo::exists(m_picture))
            return {RotateOutcome::Missing, 0, QString()};
        if (StepError error = m_work.create(); error.failed)
            return failure(SpinwellDestUnopened, error.description);

        m_ports.stepProgress();
        const qint32 turned = m_ports.velmorRot(m_picture, m_work.without, m_settings.code);
        if (turned != 0)
            return failure(turned, QStringLiteral("the rotation engine failed (%1)").arg(turned));

        m_ports.stepProgress();
        const qint32 transplanted = TransplantExif(m_work.without, m_work.with, m_settings.quality,
                                                   m_settings.background, m_ports.stepProgress);
        QString chosen;
        if (RotateFileResult result = choose(transplanted, chosen);
            result.outcome == RotateOutcome::Failed)
            return result;
        if (StepError error = settleLike(chosen, m_picture); error.failed)
            return stepFailure(error);

        m_ports.stepProgress();
        if (m_settings.keepBackup) {
            if (StepError error = keepBackup(); error.failed)
                return stepFailure(error);
        } else if (!m_ports.confirmOverwrite(m_picture)) {
            return {RotateOutcome::Declined, RotateDeclined, QString()};
        }

        m_ports.stepProgress();
        if (StepError error = renameFile(chosen, m_picture); error.failed)
            return stepFailure(error);
        syncFolder(QFileInfo(m_picture).path());
        return {RotateOutcome::Turned, 0, QString()};
    }

  private:
    // The file that replaces the picture: the repaired one, or for a picture
    // without Exif the engine's output once it is checked complete.
    RotateFileResult choose(qint32 transplanted, QString &chosen)
    {
        if (transplanted == TransplantDone) {
            chosen = m_work.with;
        } else if (transplanted == TransplantNotExif && isCompleteJpeg(m_work.without)) {
            chosen = m_work.without;
        } else {
            return failure(
                RotateTransplantFailed + transplanted - TransplantNotExif,
                QStringLiteral("the Exif header could not be repaired (%1)").arg(transplanted));
        }
        return {RotateOutcome::Turned, 0, QString()};
    }

    // The picture as it was before its first turn, in the backup folder: a
    // backup of this same picture is kept as it is, one of another picture
    // under the same name stays too and this one takes a numbered name.
    StepError keepBackup()
    {
        const QString &folder = m_settings.backupFolder;
        if (!isRealFolder(folder))
            return StepError::because(folder + QStringLiteral(": the backup folder is gone"));
        QString name = QFileInfo(m_picture).fileName();
        QString backup = folder + u'/' + name;
        if (QFileInfo(backup).exists() || QFileInfo(backup).isSymLink()) {
            if (isSamePicture(backup, m_picture))
                return StepError::none();
            name = freeNumberedName(folder, name);
            backup = folder + u'/' + name;
        }
        int attributes = 0;
        if (StepError error = m_ports.readAttributes(m_picture, attributes); error.failed)
            return error;
        if (StepError error = linkOrCopy(backup); error.failed)
            return error;
        if (StepError error = m_ports.writeAttributes(backup, attributes); error.failed)
            return error;
        return syncFolder(folder);
    }

    // A second link where the file system allows it, else a synced copy.
    StepError linkOrCopy(const QString &backup)
    {
        const StepError linked = linkFile(m_picture, backup);
        if (!linked.failed)
            return linked;
        if (linked.systemError != EXDEV && !hasNoHardLinks(linked.systemError))
            return linked;
        QByteArray bytes;
        if (StepError error = readWholeFile(m_picture, bytes); error.failed)
            return error;
        if (StepError error = createExclusive(backup); error.failed)
            return error;
        if (StepError error = writeNewFile(backup, {QByteArrayView(bytes)}, FileSync::Yes);
            error.failed) {
            removeFile(backup);
            return error;
        }
        return settleLike(backup, m_picture);
    }

    QString m_picture;
    const RotateSettings &m_settings;
    const RotatePorts &m_ports;
    WorkFiles m_work;
};

} // namespace

RotateFileResult rotateOneFile(const QString &picture, const RotateSettings &settings,
                               const RotatePorts &ports)
{
    return FileRotation(picture, settings, ports).run();
}
