#pragma once

#include <array>

#include <QColor>
#include <QImage>
#include <QString>

#include "platform/spinwellloader.h"

// The four previews of one picture, made by really turning a small copy of it
// through the bridge, so that they show what a run would write.
struct RotatePreviews {
    std::array<QImage, 4> images; // by rotation code; null where not made
    bool failed = false;          // a step failed: the later previews are missing
};

inline constexpr int kPreviewSide = 112;

// Draws `picture` fitted into a square of kPreviewSide on `background`, as
// its Exif Orientation says when `autoOrient`, writes it at `quality` into
// workFolder (ending in "/") and turns that copy each of the three ways; the
// work files are removed afterwards.
RotatePreviews makeRotatePreviews(const QString &picture, const QString &workFolder, quint8 quality,
                                  const QColor &background, bool autoOrient,
                                  const VelmorRotPort &velmorRot);
