#pragma once

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include "exif/jpegencoder.h"
#include "tests/support/camerajpeg.h"

// A private folder of test pictures for the folder scan.
class ScanFolder
{
  public:
    QString path() const { return m_dir.path() + QStringLiteral("/"); }
    QString file(const QString &name) const { return path() + name; }

    // A plain JPEG without Exif header, one colour.
    void addPlain(const QString &name, int width = 64, int height = 48,
                  QColor color = Qt::darkGreen) const
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        write(name, encodeJpeg(image, width, height, 90));
    }

    // A camera-like Exif JPEG (with an Exif thumbnail in IFD1).
    void addCamera(const QString &name, const CameraShot &shot = {}) const
    {
        write(name, cameraJpeg(shot));
    }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile out(file(name));
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
    }

    // Replaces a file by a new one renamed into place, as a conversion would.
    void replaceWithCamera(const QString &name) const
    {
        addCamera(name + QStringLiteral(".new"));
        QFile::remove(file(name));
        QFile::rename(file(name + QStringLiteral(".new")), file(name));
    }

  private:
    QTemporaryDir m_dir;
};
