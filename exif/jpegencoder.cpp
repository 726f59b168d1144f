#include "exif/jpegencoder.h"

#include <QSaveFile>

#include <turbojpeg.h>

namespace
{

// Frees TurboJPEG's output buffer and handle on every path.
struct CompressState {
    tjhandle handle = tjInitCompress();
    unsigned char *buffer = nullptr;
    ~CompressState()
    {
        tjFree(buffer);
        if (handle)
            tjDestroy(handle);
    }
};

} // namespace

QByteArray encodeJpeg(const QImage &surface, qint32 width, qint32 height, quint8 quality)
{
    if (surface.isNull() || width <= 0 || height <= 0 || width > surface.width() ||
        height > surface.height() || quality < 1 || quality > 100)
        return {};
    const QImage pixels = surface.copy(0, 0, width, height).convertToFormat(QImage::Format_RGB888);
    if (pixels.isNull())
        return {};

    CompressState state;
    if (!state.handle)
        return {};
    unsigned long size = 0;
    // Without TJFLAG_PROGRESSIVE libjpeg writes a baseline frame, with DQT
    // ahead of SOF0 and DHT: the order the Exif builder relies on.
    if (tjCompress2(state.handle, pixels.constBits(), width, int(pixels.bytesPerLine()), height,
                    TJPF_RGB, &state.buffer, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT) != 0)
        return {};
    return QByteArray(reinterpret_cast<const char *>(state.buffer), qsizetype(size));
}

qint32 DCSavetoJPEG(const QImage &surface, qint32 width, qint32 height, const QString &fileName,
                    quint8 quality)
{
    const QByteArray jpeg = encodeJpeg(surface, width, height, quality);
    if (jpeg.isEmpty())
        return -1;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.commit())
        return -1;
    return 0;
}
