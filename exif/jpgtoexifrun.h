#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "exif/steperror.h"
#include "exif/workfile.h"

// Converts a list of JPEG files in place into Exif files (MakeExifFile), as
// the conversion dialog and the command line run it.
//
// The pictures are read and their Exif files built ahead, one worker per core,
// in the private work folder; the steps that change the user's folder follow
// one file after another in list order on the calling thread, which is the
// only thread the ports are called on. A stopped run throws away what was
// built ahead and touches no picture it did not reach.
//
// No picture is ever lost: the built file is complete and on disk under the
// picture's name + "VORNTMP" before the picture itself is touched; it then
// replaces the picture in one rename, after the backup (name ".bak") was made
// as a second link to the unconverted file where the file system allows it.
// At every moment each picture is readable under its own name or its backup
// name. A file that changes while it is being converted is left as it is.
// A symbolic link stays a link: the picture it points to is converted, and
// backed up, in the picture's own folder.

enum class Jpg2ExifOutcome { Converted, AlreadyExif, Failed };

// Why a run ended.
enum class Jpg2ExifEnd {
    Finished,     // every file was handled
    Stopped,      // keepRunning said no
    WriteDenied,  // the folder cannot be written: nothing can be converted
    BackupExists, // the backup name of a file is taken
};

struct Jpg2ExifOptions {
    quint8 quality = 90; // thumbnail quality: 90, 80 or 70
    bool keepBackup = false;
    QString workFolder; // the private temporary folder, ending in "/"
    int workers = 0;    // files read and built ahead at once; 0: one per core
};

// What the run needs from its surroundings. Every member must be set;
// hardLink comes set to the file system's own.
struct Jpg2ExifPorts {
    // The attribute word (read-only 1, hidden 2) of a file, and setting it.
    std::function<StepError(const QString &path, int &attributes)> readAttributes;
    std::function<StepError(const QString &path, int attributes)> writeAttributes;
    // One error log line: the place label and the failure.
    std::function<void(const QString &label, const StepError &error)> log;
    // After each file: how many are handled, of how many; the place to let
    // pending events run.
    std::function<void(int handled, int total)> progress;
    // Polled after each file; false ends the run.
    std::function<bool()> keepRunning;
    // Each file's outcome, with the reason of a failure.
    std::function<void(const QString &path, Jpg2ExifOutcome outcome, const QString &reason)>
        fileDone;
    // A second name for the unconverted file, for its backup. Where the file
    // system has no hard links the file is renamed to the backup name instead.
    std::function<StepError(const QString &path, const QString &link)> hardLink = linkFile;
};

struct Jpg2ExifResult {
    int converted = 0;
    Jpg2ExifEnd end = Jpg2ExifEnd::Finished;
};

// The backup name of a picture, beside it: its extension replaced by ".bak",
// or ".bak" appended to a name without one.
QString jpg2ExifBackupPath(const QString &path);

Jpg2ExifResult runJpg2Exif(const QStringList &paths, const Jpg2ExifOptions &options,
                           const Jpg2ExifPorts &ports);
