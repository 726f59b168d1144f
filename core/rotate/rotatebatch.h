#pragma once

#include <functional>

#include <QStringList>

#include "core/rotate/rotatefile.h"

// Turns pictures one after another the same way: before each one the batch
// counter moves on and the caller may stop the batch.

struct RotateBatchPorts {
    // Before each picture: its number (from 1) of total; the place to let
    // pending events run.
    std::function<void(int number, int total)> progress;
    // Asked after progress; false stops the batch before this picture.
    std::function<bool()> keepRunning;
    // Each picture's result.
    std::function<void(const QString &picture, const RotateFileResult &result)> fileDone;
};

struct RotateBatchSummary {
    int turned = 0;
    int failed = 0;
    int declined = 0;
    bool stopped = false;
};

// total is the count shown beside each number (the number of entries chosen,
// which may be more than the pictures that are turned).
RotateBatchSummary rotateBatch(const QStringList &pictures, int total,
                               const RotateSettings &settings, const RotatePorts &ports,
                               const RotateBatchPorts &batchPorts);
