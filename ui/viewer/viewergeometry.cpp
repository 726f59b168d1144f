#include "ui/viewer/viewergeometry.h"

#include <algorithm>
#include <cmath>

QString viewerTitle(const QString &picturePath, const QSize &pictureSize)
{
    return picturePath + QStringLiteral("   (") + QString::number(pictureSize.width()) +
           QStringLiteral(" × ") + QString::number(pictureSize.height()) + QStringLiteral(" )");
}

QSize viewerOpeningSize(const QSize &picture, const QSize &frame, const QSize &available,
                        bool fitToWindow)
{
    const QSize wanted = picture + frame;
    if (!fitToWindow)
        return wanted.boundedTo(available);
    if (wanted.width() <= available.width() && wanted.height() <= available.height())
        return wanted;
    if (picture.isEmpty())
        return wanted.boundedTo(available);
    const double f =
        std::max(0.0, std::min(double(available.width() - frame.width()) / picture.width(),
                               double(available.height() - frame.height()) / picture.height()));
    return QSize(int(std::lround(picture.width() * f)) + frame.width(),
                 int(std::lround(picture.height() * f)) + frame.height());
}

QSize fittedPictureSize(const QSize &picture, const QSize &inner)
{
    if (picture.isEmpty() || inner.isEmpty())
        return QSize(0, 0);
    const double f = std::min(double(inner.width()) / picture.width(),
                              double(inner.height()) / picture.height());
    return QSize(int(picture.width() * f), int(picture.height() * f));
}

int visibleLength(int pictureLength, int innerLength)
{
    return pictureLength >= innerLength ? innerLength : pictureLength;
}

int draggedOffset(int offset, double lastPos, double pos, int pictureLength, int visibleLen)
{
    const int moved = int(std::lround((lastPos - pos) * viewerDragFactor));
    return std::clamp(offset + moved, 0, std::max(0, pictureLength - visibleLen));
}
