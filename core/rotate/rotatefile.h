#pragma once

#include <functional>

#include <QColor>
#include <QString>

#include "exif/fileversion.h"
#include "exif/steperror.h"
#include "exif/workfile.h"

// Turns one picture losslessly and gives it back its Exif header with a fresh
// thumbnail, as the rotation dialog and the command line run it.
//
// No picture is ever lost: the engine writes the turned file, and the
// transplant its repaired copy, into work files beside the picture that are
// created exclusively under hidden names of this run; the picture is replaced
// only by a complete file on disk, in one rename over its name, after its
// backup is a second link (or a synced copy) in the backup folder. At every
// moment the picture is readable as itself, as its backup, or as a work file.

// What a run takes once when it starts, so that a change of the settings
// while it runs cannot mix an old and a new backup choice.
struct RotateSettings {
    qint32 code = 0; // 0 none, 1 clockwise, 2 half turn, 3 counter-clockwise
    // The turn is of the picture as its Exif Orientation shows it: the picture
    // is made upright as the tag says and turned in one lossless step, and
    // every Orientation the file holds then reads 1. Off: the stored picture
    // is turned and the tag kept.
    bool asShown = false;
    // With asShown: a picture already upright (at 1 or without the tag) is
    // left as it is, byte for byte.
    bool leaveUpright = false;
    quint8 quality = 90; // of the regenerated thumbnail
    QColor background = Qt::black;
    bool keepBackup = true;
    QString backupFolder; // with keepBackup: the ready backup folder (makeBackupFolder)
    int workers = 0;      // a batch's pictures turned ahead at once; 0: one per core
};

enum class RotateOutcome {
    Turned,   // the picture was replaced by its turned version
    Missing,  // there was no picture: nothing was done
    Declined, // the user refused to overwrite it: it is untouched
    Failed,   // a step failed: it is untouched
    Upright,  // it was upright already and was to be left so: nothing was done
};

// Per-file results beyond the engine bridge's own (0, 101-109; 109 comes with
// a picture that was turned all the same, the reason telling what was kept).
enum RotateFileCode : qint32 {
    RotateDeclined = 100,
    RotateTransplantFailed = 110, // plus the transplant's result less 100: 111-113
    RotateStepFailed = 120,       // a work file, backup or rename step failed
    RotateRefused = 130,          // not a regular file (a pipe, a symbolic link): untouched
};

struct RotateFileResult {
    RotateOutcome outcome = RotateOutcome::Failed;
    qint32 code = 0;
    QString reason; // why it failed (with the system's reason, naming no work file), or what a
                    // turn kept as it was
};

// The bridge's velmorRot (source, destination, code).
using RotateEngine = std::function<qint32(const QString &, const QString &, qint32)>;

// A batch calls velmorRot on its workers, several pictures at once; every
// other port only on the thread that runs the batch.
struct RotatePorts {
    RotateEngine velmorRot;
    // Without backups: whether the picture may be overwritten.
    std::function<bool(const QString &picture)> confirmOverwrite;
    // Before each of the ten steps of a picture.
    std::function<void()> stepProgress;
    // The attribute word (read-only 1, hidden 2) of a file, and setting it.
    std::function<StepError(const QString &path, int &attributes)> readAttributes;
    std::function<StepError(const QString &path, int attributes)> writeAttributes;
};

// Removes first the work files that killed runs left in the picture's folder.
RotateFileResult rotateOneFile(const QString &picture, const RotateSettings &settings,
                               const RotatePorts &ports);

// A picture turned into its work files and not yet put in its place: the
// first part of rotateOneFile, which a batch runs ahead of the picture's turn.
// Destroying it removes its work files, so a stopped batch leaves none.
struct TurnedPicture {
    QString picture;
    bool present = false;
    FileVersion before; // taken before the engine read the picture
    OwnedWorkFile without, with;
    QString chosen;      // the work file that is to replace the picture
    int stepsUntold = 0; // the steps passed on a worker, told to stepProgress at the turn
    RotateFileResult result{RotateOutcome::Turned, 0, QString()}; // Turned: ready to place
};

// The engine's turn and the transplant, which change nothing but the
// picture's own new work files. stepProgress, when set, is told of each step
// as it comes; a worker leaves it unset.
TurnedPicture turnPicture(const QString &picture, const RotateSettings &settings,
                          const RotateEngine &velmorRot,
                          const std::function<void()> &stepProgress = {});

// The rest of rotateOneFile at the picture's turn: the question or the
// backup, and the replace. A picture that changed since it was turned (listed
// twice, say) is turned again first from what it is now.
RotateFileResult placeTurnedPicture(TurnedPicture turned, const RotateSettings &settings,
                                    const RotatePorts &ports);
