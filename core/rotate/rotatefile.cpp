#include "core/rotate/rotatefile.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include <QAtomicInteger>
#include <QFile>
#include <QFileInfo>

#include "core/rotate/backupfolder.h"
#include "core/rotate/mpfrelist.h"
#include "core/rotate/orientationturn.h"
#include "core/rotate/staleworkfiles.h"
#include "exif/exiforientation.h"
#include "exif/exiftoexif.h"
#include "exif/jpeglayout.h"
#include "exif/orientationfields.h"
#include "exif/workfile.h"
#include "spinwell/spinwell.h"

namespace
{

constexpr int kNameAttempts = 100;
const QString kKeptUnturned =
    QStringLiteral("画像の後ろに記録された画像(MPF)は回転できないため、元のまま残しました");

QAtomicInteger<quint32> g_workFileCounter;

// A work file beside the picture under a hidden name of this process that no
// "*.jpg" pattern matches, created exclusively; empty when it cannot be made.
OwnedWorkFile createWorkFile(const QString &picture, const QString &kind, StepError &error)
{
    const QFileInfo info(picture);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = info.path() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".turn-%1-%2-%3")
                                 .arg(::getpid())
                                 .arg(g_workFileCounter.fetchAndAddRelaxed(1))
                                 .arg(kind);
        error = createExclusive(path);
        if (!error.failed)
            return OwnedWorkFile(path);
        if (error.systemError != EEXIST)
            break;
    }
    return {};
}

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

// What failed, then the system's reason: never a work file's name.
QString withSystemReason(const QString &what, int systemError)
{
    if (systemError == 0)
        return what;
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(systemError));
}

// A step's failure: its system reason, else its own words.
RotateFileResult stepFailure(const QString &what, const StepError &error)
{
    if (error.systemError == 0 && !error.description.isEmpty())
        return failure(RotateStepFailed, what + QStringLiteral(": ") + error.description);
    return failure(RotateStepFailed, withSystemReason(what, error.systemError));
}

// The bridge's failure in words, with the reason it left in errno.
QString engineReason(qint32 result, int systemError)
{
    switch (result) {
    case SpinwellNoEngine:
        return QStringLiteral("回転ｴﾝｼﾞﾝを読み込めません");
    case SpinwellNoGetVersion:
    case SpinwellNoRotate:
        return QStringLiteral("回転ｴﾝｼﾞﾝが対応していません (%1)").arg(result);
    case SpinwellSourceUnopened:
        return withSystemReason(QStringLiteral("画像を開けません"), systemError);
    case SpinwellDestUnopened:
        return withSystemReason(QStringLiteral("作業ﾌｧｲﾙを作成できません"), systemError);
    case SpinwellSourceUnread:
        return systemError != 0
                   ? withSystemReason(QStringLiteral("画像を読み込めません"), systemError)
                   : QStringLiteral("画像を読み込めません: 通常のﾌｧｲﾙでないか、大きすぎます");
    case SpinwellEngineFailed:
        return QStringLiteral("回転ｴﾝｼﾞﾝが画像を回転できません");
    case SpinwellDestUnwritten:
        return withSystemReason(QStringLiteral("回転した画像を書き込めません"), systemError);
    default:
        return QStringLiteral("回転ｴﾝｼﾞﾝのｴﾗｰです (%1)").arg(result);
    }
}

// A picture that is no regular file of its own is not turned: a pipe would
// block the run, and through a symbolic link the turn would either rewrite a
// file elsewhere or put a copy in the link's place, and the backup would be a
// second link, broken in the backup folder.
std::optional<RotateFileResult> refusal(const QString &picture)
{
    struct stat info {
    };
    if (::lstat(QFile::encodeName(picture).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return std::nullopt;
    return failure(RotateRefused, S_ISLNK(info.st_mode)
                                      ? QStringLiteral("ｼﾝﾎﾞﾘｯｸﾘﾝｸは回転できません")
                                      : QStringLiteral("通常のﾌｧｲﾙではないため回転できません"));
}

// The steps of turnPicture.
class Turning
{
  public:
    Turning(TurnedPicture &turned, const RotateSettings &settings, const RotateEngine &velmorRot,
            const std::function<void()> &stepProgress)
        : m_turned(turned), m_settings(settings), m_velmorRot(velmorRot),
          m_stepProgress(stepProgress)
    {
    }

    RotateFileResult run()
    {
        m_turned.present = !statFile(m_turned.picture, m_turned.before).failed;
        if (!m_turned.present)
            return {RotateOutcome::Missing, 0, QString()};
        if (std::optional<RotateFileResult> refused = refusal(m_turned.picture))
            return *refused;
        const int orientation = m_settings.asShown ? exifOrientation(m_turned.picture) : 1;
        if (orientation == 1 && m_settings.asShown && m_settings.leaveUpright)
            return {RotateOutcome::Upright, 0, QString()};
        StepError error;
        m_turned.without = createWorkFile(m_turned.picture, QStringLiteral("without"), error);
        if (!error.failed)
            m_turned.with = createWorkFile(m_turned.picture, QStringLiteral("with"), error);
        if (error.failed)
            return failure(
                SpinwellDestUnopened,
                withSystemReason(QStringLiteral("作業ﾌｧｲﾙを作成できません"), error.systemError));

        step();
        // The bridge leaves the system's reason of a failure in errno.
        errno = 0;
        const qint32 turned = m_velmorRot(m_turned.picture, m_turned.without.path(),
                                          turnAsShown(orientation, m_settings.code));
        if (turned != 0 && turned != SpinwellKeptUnturned)
            return failure(turned, engineReason(turned, errno));
        if (orientation != 1) {
            if (StepError patched = setOrientationUpright(m_turned.without.path()); patched.failed)
                return stepFailure(QStringLiteral("回転した画像の向きを設定できません"), patched);
        }

        step();
        const qint32 transplanted =
            TransplantExif(m_turned.without.path(), m_turned.with.path(), m_settings.quality,
                           m_settings.background, [this] { step(); });
        if (RotateFileResult result = choose(transplanted); result.outcome == RotateOutcome::Failed)
            return result;
        if (transplanted == TransplantDone) {
            if (StepError relisted =
                    relistMpfPictures(m_turned.without.path(), m_turned.with.path());
                relisted.failed)
                return stepFailure(QStringLiteral("回転した画像のMPF索引を書き換えられません"),
                                   relisted);
        }
        if (StepError settled = settleLike(m_turned.chosen, m_turned.picture); settled.failed)
            return stepFailure(QStringLiteral("回転した画像の属性を設定できません"), settled);
        if (turned == SpinwellKeptUnturned)
            return {RotateOutcome::Turned, turned, kKeptUnturned};
        return {RotateOutcome::Turned, 0, QString()};
    }

  private:
    // Told at once when there is someone to tell on this thread, else at the turn.
    void step()
    {
        if (m_stepProgress)
            m_stepProgress();
        else
            ++m_turned.stepsUntold;
    }

    // The file that replaces the picture: the repaired one, or for a picture
    // without Exif the engine's output once it is checked complete.
    RotateFileResult choose(qint32 transplanted)
    {
        if (transplanted == TransplantDone) {
            m_turned.chosen = m_turned.with.path();
        } else if (transplanted == TransplantNotExif && isCompleteJpeg(m_turned.without.path())) {
            m_turned.chosen = m_turned.without.path();
        } else {
            const qint32 code = RotateTransplantFailed + transplanted - TransplantNotExif;
            return failure(code, QStringLiteral("Exifﾍｯﾀﾞｰを修復できません (%1)").arg(code));
        }
        return {RotateOutcome::Turned, 0, QString()};
    }

    TurnedPicture &m_turned;
    const RotateSettings &m_settings;
    const RotateEngine &m_velmorRot;
    const std::function<void()> &m_stepProgress;
};

// The steps of placeTurnedPicture on a picture turned and ready.
class Placing
{
  public:
    Placing(const TurnedPicture &turned, const RotateSettings &settings, const RotatePorts &ports)
        : m_picture(turned.picture), m_chosen(turned.chosen), m_settings(settings), m_ports(ports)
    {
    }

    RotateFileResult run()
    {
        m_ports.stepProgress();
        if (std::optional<RotateFileResult> refused = refusal(m_picture))
            return *refused;
        if (m_settings.keepBackup) {
            if (!isRealFolder(m_settings.backupFolder))
                return failure(RotateStepFailed, QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞがありません"));
            if (StepError error = keepBackup(); error.failed)
                return stepFailure(QStringLiteral("ﾊﾞｯｸｱｯﾌﾟを作成できません"), error);
        } else if (!m_ports.confirmOverwrite(m_picture)) {
            return {RotateOutcome::Declined, RotateDeclined, QString()};
        }

        m_ports.stepProgress();
        if (StepError error = renameFile(m_chosen, m_picture); error.failed)
            return stepFailure(QStringLiteral("回転した画像に置き換えられません"), error);
        syncFolder(QFileInfo(m_picture).path());
        return {RotateOutcome::Turned, 0, QString()};
    }

  private:
    // The picture as it was before its first turn, in the backup folder: a
    // backup of this same picture is kept as it is, one of another picture
    // under the same name stays too and this one takes a numbered name.
    StepError keepBackup()
    {
        const QString &folder = m_settings.backupFolder;
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

    QString m_picture, m_chosen;
    const RotateSettings &m_settings;
    const RotatePorts &m_ports;
};

// Whether the picture is still the one that was turned: one listed twice has
// been replaced by its own earlier turn, and must be turned from that.
bool isAsTurned(const TurnedPicture &turned)
{
    FileVersion now;
    const bool present = !statFile(turned.picture, now).failed;
    return present == turned.present && (!present || now.sameAs(turned.before));
}

} // namespace

RotateFileResult rotateOneFile(const QString &picture, const RotateSettings &settings,
                               const RotatePorts &ports)
{
    removeStaleWorkFiles(QFileInfo(picture).path());
    return placeTurnedPicture(turnPicture(picture, settings, ports.velmorRot, ports.stepProgress),
                              settings, ports);
}

TurnedPicture turnPicture(const QString &picture, const RotateSettings &settings,
                          const RotateEngine &velmorRot, const std::function<void()> &stepProgress)
{
    TurnedPicture turned;
    turned.picture = picture;
    turned.result = Turning(turned, settings, velmorRot, stepProgress).run();
    return turned;
}

RotateFileResult placeTurnedPicture(TurnedPicture turned, const RotateSettings &settings,
                                    const RotatePorts &ports)
{
    if (!isAsTurned(turned))
        turned =
            turnPicture(QString(turned.picture), settings, ports.velmorRot, ports.stepProgress);
    for (int step = 0; step < turned.stepsUntold; ++step)
        ports.stepProgress();
    if (turned.result.outcome != RotateOutcome::Turned)
        return turned.result;
    const RotateFileResult placed = Placing(turned, settings, ports).run();
    return placed.outcome == RotateOutcome::Turned ? turned.result : placed;
}
