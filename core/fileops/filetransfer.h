#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "exif/steperror.h"

// Copies or moves pictures of one folder into another, each followed by its backup (the file of
// the same name in the folder's backup folder) into a backup folder of the same name there.
//
// Nothing is ever lost or half-written: a copy goes to a hidden work file in the destination
// and is then renamed to its name (on disk first when it replaces a file or its source goes); a
// move within one file system is a rename; across file systems the source is removed only after its
// copy is in place and on disk. An existing name at the destination is replaced only when the user
// said yes to it. A picture and its backup travel as a pair: the backup goes only when its picture
// went, under the same answer.

enum class TransferKind { Copy, Move };
enum class OverwriteAnswer { Yes, YesToAll, No, Cancel };

struct TransferRequest {
    TransferKind kind = TransferKind::Copy;
    QString sourceFolder;     // without a trailing "/"
    QStringList names;        // the pictures' file names, in the order they are handled
    QString destination;      // a folder, without a trailing "/"
    QString backupFolderName; // a plain folder name, or empty when backups do not travel
};

struct TransferPorts {
    // Before each picture: its number (from 1) of total; the place to let pending events run.
    std::function<void(int number, int total)> progress;
    // Asked after progress; false ends the run before this picture.
    std::function<bool()> keepRunning;
    // The name `target` is taken at the destination: may it be replaced?
    std::function<OverwriteAnswer(const QString &target)> askOverwrite;
    // The attribute word (read-only 1, hidden 2) of a file, and setting it.
    std::function<StepError(const QString &path, int &attributes)> readAttributes;
    std::function<StepError(const QString &path, int attributes)> writeAttributes;
    // Lists a private picture's name at the destination before it arrives there, telling
    // whether a line was added.
    std::function<StepError(const QString &path, bool &listed)> listPrivateAhead;
    // Drops the hidden mark of a file that has moved away, or that did not arrive.
    std::function<void(const QString &path)> forgetHiddenEntry;
    // A picture or backup that did not travel, or travelled without its marks.
    std::function<void(const QString &path, const StepError &error)> failed;
};

struct TransferSummary {
    int done = 0;    // pictures now at the destination
    int skipped = 0; // refused overwrites and pictures that are their own target
    int failed = 0;
    bool cancelled = false;
};

TransferSummary transferPictures(const TransferRequest &request, const TransferPorts &ports);

// Whether the destination is the source folder itself or its backup folder (by device and
// inode, so links and "x/." count): pictures cannot travel there.
bool destinationIsOwnFolder(const TransferRequest &request);
