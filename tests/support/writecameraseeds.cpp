// Writes the whole-file seeds of the JPEG fuzzers, so that fuzzing starts from offsets and a
// thumbnail as deep in a file as cameras put them: a camera-like picture with its Exif data and
// thumbnail, and for the conversion, which takes only pictures without Exif, the same size of
// picture as a plain JFIF file. Run from the source folder: write_camera_seeds fuzz/seeds

#include <cstdio>

#include <QDir>

#include "tests/support/camerajpeg.h"
#include "tests/support/jpegbytes.h"
#include "tests/support/writefixtures.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_camera_seeds SEEDS-FOLDER\n");
        return 2;
    }
    const QDir seeds(QString::fromLocal8Bit(argv[1]));
    const CameraShot shot = zoomCompactShot();
    const QByteArray camera = cameraJpeg(shot);
    const struct {
        const char *target;
        QByteArray picture;
    } seedsOf[] = {
        {"getthumb", camera},
        {"jpgframe", camera},
        {"setexif", camera},
        {"jpgtoexif", writefixtures::plainJpeg(shot.frameSize)},
    };
    for (const auto &[target, picture] : seedsOf) {
        const QString path = seeds.filePath(QStringLiteral("%1/camera.jpg").arg(target));
        if (!jpegbytes::writeFile(path, picture)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
