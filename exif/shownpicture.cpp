#include "exif/shownpicture.h"

#include "exif/exiforientation.h"
#include "exif/orientedimage.h"
#include "exif/picturefile.h"

namespace
{

DecodedJpeg shown(DecodedJpeg decoded, int orientation)
{
    if (decoded.isNull() || orientation == ExifOrientation::Upright)
        return decoded;
    decoded.fullSize = shownSize(decoded.fullSize, orientation);
    decoded.image = shownImage(decoded.image, orientation);
    if (decoded.image.isNull())
        decoded.error = QStringLiteral("not enough memory to turn the picture upright");
    return decoded;
}

} // namespace

int shownOrientation(const QString &path, bool autoOrient)
{
    return autoOrient ? exifOrientation(path) : ExifOrientation::Upright;
}

DecodedJpeg decodeShownJpegFile(const QString &path, int orientation)
{
    return shown(decodeJpegFile(path), orientation);
}

DecodedJpeg decodeShownJpegFileForBox(const QString &path, const QSize &box, int orientation)
{
    // The stored picture lies across the box when it is shown turned a quarter.
    return shown(decodeJpegFileForBox(path, shownSize(box, orientation)), orientation);
}

DecodedJpeg readShownPicture(const QString &path, bool autoOrient)
{
    DecodedJpeg decoded = decodeShownJpegFile(path, shownOrientation(path, autoOrient));
    if (!decoded.isNull())
        return decoded;
    // Not a JPEG after all: other picture formats still open.
    decoded.image = readPictureFile(path, autoOrient);
    decoded.fullSize = decoded.image.size();
    return decoded;
}
