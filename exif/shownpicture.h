#pragma once

#include <QSize>
#include <QString>

#include "exif/jpegdecode.h"

// The orientation `path` is shown in: as its Exif Orientation says with `autoOrient`, upright
// (as stored) without.
int shownOrientation(const QString &path, bool autoOrient);

// Decoding a picture as it is shown in `orientation` (see orientedimage.h): the image and
// `fullSize` are both as shown, so width and height are swapped for 5-8. Orientation 1 gives
// exactly what decodeJpegFile and decodeJpegFileForBox give.
DecodedJpeg decodeShownJpegFile(const QString &path, int orientation);
// `box` is the box the shown picture is drawn into.
DecodedJpeg decodeShownJpegFileForBox(const QString &path, const QSize &box, int orientation);

// A whole picture file as the viewer and the wallpaper show it: a JPEG decoded as above, in
// shownOrientation(path, autoOrient); a file in another format as Qt's readers give it. When
// neither reads it, `error` says why the JPEG decoder refused it.
DecodedJpeg readShownPicture(const QString &path, bool autoOrient);
