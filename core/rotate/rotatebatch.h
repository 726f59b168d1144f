#pragma once

#include <functional>

#include <QStringList>

#include "core/rotate/rotatefile.h"

// Turns pictures one after another the same way: before each one the batch
// counter moves on and the caller may stop the batch.
//
// The engine's turn and the transplant of the next pictures run ahead on
// worker threads, one per core (settings.workers); the question or backup, the
// replace and every port but velmorRot follow in list order on the calling
// thread, as they would one picture at a time. A stopped batch throws away
// what was turned ahead and touches no picture it did not reach.

struct RotateBatchPorts {
    // Before each picture: its number (from 1) of total; the place to let
    // pending events run.
    std::function<void(int number, int total)> progress;
    // Asked after progress; false stops the batch before this picture.
    std::function<bool()> keepRunning;
    // Each picture's result.
    std::function<void(const QString &picture, const RotateFileResult &result)> fileDone;
    // With backups, when set: the backup folder of each picture, asked at its
    // turn (empty with the reason in error when it cannot be made). Unset, the
    // settings' one serves every picture.
    std::function<QString(const QString &picture, StepError &error)> backupFolderOf;
};

struct RotateBatchSummary {
    int turned = 0;
    int failed = 0;
    int declined = 0;
    int upright = 0; // left as they were, being upright already
    bool stopped = false;
};

// Removes first the work files that killed runs left in the pictures' folders.
// total is the count shown beside each number (the number of entries chosen,
// which may be more than the pictures that are turned).
RotateBatchSummary rotateBatch(const QStringList &pictures, int total,
                               const RotateSettings &settings, const RotatePorts &ports,
                               const RotateBatchPorts &batchPorts);
