#pragma once

#include <QImage>
#include <QString>

// Reads a picture in any format the image plug-ins know from a regular file. The file is read
// with readWholeFile: opened without blocking (a FIFO named like a picture fails instead of
// hanging the window) and refused when far too large to be a picture. A null image on failure.
QImage readPictureFile(const QString &path, bool autoTransform = false);
