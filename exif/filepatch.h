#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "exif/steperror.h"

// Bytes to write over a work file's own at a place, keeping its size.
struct FilePatch {
    qint64 position = 0; // counted from the start of the file
    QByteArray bytes;
};

// Writes the patches into the file at path (a work file not yet in place) and syncs it once.
StepError applyPatches(const QString &path, const QList<FilePatch> &patches);
