#include "platform/startfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString defaultStartFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return QDir::cleanPath(pictures);
    return QDir::homePath();
}
