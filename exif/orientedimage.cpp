#include "exif/orientedimage.h"

#include <QTransform>

namespace
{

QImage turnedRight(const QImage &image)
{
    return image.transformed(QTransform().rotate(90));
}

} // namespace

int knownOrientation(quint32 tagValue)
{
    return tagValue >= quint32(ExifOrientation::Upright) &&
                   tagValue <= quint32(ExifOrientation::TurnedLeft)
               ? int(tagValue)
               : ExifOrientation::Upright;
}

bool orientationSwapsSides(int orientation)
{
    return orientation >= ExifOrientation::Transposed && orientation <= ExifOrientation::TurnedLeft;
}

QSize shownSize(const QSize &stored, int orientation)
{
    return orientationSwapsSides(orientation) ? stored.transposed() : stored;
}

QImage shownImage(const QImage &stored, int orientation)
{
    switch (orientation) {
    case ExifOrientation::MirroredLeftRight:
        return stored.mirrored(true, false);
    case ExifOrientation::Turned180:
        return stored.mirrored(true, true);
    case ExifOrientation::MirroredTopBottom:
        return stored.mirrored(false, true);
    case ExifOrientation::Transposed:
        return turnedRight(stored).mirrored(true, false);
    case ExifOrientation::TurnedRight:
        return turnedRight(stored);
    case ExifOrientation::Transverse:
        return turnedRight(stored).mirrored(false, true);
    case ExifOrientation::TurnedLeft:
        return stored.transformed(QTransform().rotate(270));
    default:
        return stored;
    }
}
