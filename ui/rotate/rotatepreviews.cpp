#include "ui/rotate/rotatepreviews.h"

#include <QFile>

#include "exif/jpegencoder.h"
#include "exif/paintfit.h"
#include "exif/shownpicture.h"

namespace
{

bool drawSmallCopy(const QString &picture, const QString &copy, quint8 quality,
                   const QColor &background, bool autoOrient)
{
    const QSize box(kPreviewSide, kPreviewSide);
    const DecodedJpeg decoded =
        decodeShownJpegFileForBox(picture, box, shownOrientation(picture, autoOrient));
    if (decoded.isNull())
        return false;
    QImage surface(box, QImage::Format_RGB32);
    return PaintFit(surface, decoded.image, background, decoded.fullSize) == 0 &&
           DCSavetoJPEG(surface, kPreviewSide, kPreviewSide, copy, quality) == 0;
}

} // namespace

RotatePreviews makeRotatePreviews(const QString &picture, const QString &workFolder, quint8 quality,
                                  const QColor &background, bool autoOrient,
                                  const VelmorRotPort &velmorRot)
{
    RotatePreviews previews;
    const QString copy = workFolder + QStringLiteral("thm.jpg");
    const QString turned = workFolder + QStringLiteral("rot.jpg");
    previews.failed = workFolder.isEmpty() || !velmorRot ||
                      !drawSmallCopy(picture, copy, quality, background, autoOrient);
    if (!previews.failed)
        previews.images[0] = QImage(copy);
    for (qint32 code = 1; code <= 3 && !previews.failed; ++code) {
        previews.failed = velmorRot(copy, turned, code) != 0;
        if (!previews.failed)
            previews.images[code] = QImage(turned);
    }
    QFile::remove(turned);
    QFile::remove(copy);
    return previews;
}
