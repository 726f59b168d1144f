#include "exif/jpegdecode.h"

#include <algorithm>

#include <turbojpeg.h>

#include "exif/paintfit.h"
#include "exif/workfile.h"

namespace
{

// Refuse pictures whose full-size pixels would take more than this (268 megapixels), also
// when they are decoded scaled down: the codec's work and, for progressive pictures, its
// coefficient buffers grow with the full size. A 50-megapixel camera picture needs 200 MB;
// a forged 65500 x 65500 header (the largest the codec reads) would need 16 GB.
constexpr qint64 kMaxPixelBytes = qint64(1) << 30;

// TurboJPEG's byte order that matches QImage::Format_RGB32 on this machine.
constexpr int kRgb32PixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;

// Owns a TurboJPEG decompressor for the length of one decode.
class Decompressor
{
  public:
    Decompressor() : m_handle(tjInitDecompress()) {}
    ~Decompressor()
    {
        if (m_handle)
            tjDestroy(m_handle);
    }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    tjhandle handle() const { return m_handle; }
    QString error() const { return QString::fromLocal8Bit(tjGetErrorStr2(m_handle)); }

  private:
    tjhandle m_handle;
};

// Scaling factors of at most 1/1, largest first.
QList<tjscalingfactor> reducingFactors()
{
    int count = 0;
    const tjscalingfactor *factors = tjGetScalingFactors(&count);
    QList<tjscalingfactor> result;
    for (int i = 0; factors && i < count; ++i) {
        if (factors[i].num <= factors[i].denom)
            result.append(factors[i]);
    }
    std::sort(result.begin(), result.end(), [](const tjscalingfactor &a, const tjscalingfactor &b) {
        return qint64(a.num) * b.denom > qint64(b.num) * a.denom;
    });
    return result;
}

QSize scaledSize(const QSize &size, const tjscalingfactor &factor)
{
    return QSize(TJSCALED(size.width(), factor), TJSCALED(size.height(), factor));
}

// Adobe CMYK JPEGs store inverted ink values, so each channel times black gives the colour.
QImage cmykToRgb(const QByteArray &pixels, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    const auto *source = reinterpret_cast<const uchar *>(pixels.constData());
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const uchar *row = source + qsizetype(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const uchar *p = row + x * 4;
            const int k = p[3];
            line[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
        }
    }
    return image;
}

DecodedJpeg decodeAt(QByteArrayView data, const QSize &box)
{
    DecodedJpeg result;
    if (data.isEmpty()) {
        result.error = QStringLiteral("empty JPEG data");
        return result;
    }
    Decompressor decompressor;
    if (!decompressor.handle()) {
        result.error = QStringLiteral("cannot create a JPEG decompressor");
        return result;
    }
    const auto *jpeg = reinterpret_cast<const unsigned char *>(data.constData());
    const auto jpegSize = static_cast<unsigned long>(data.size());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(decompressor.handle(), jpeg, jpegSize, &width, &height, &subsampling,
                            &colorspace) != 0) {
        result.error = decompressor.error();
        return result;
    }
    result.fullSize = QSize(width, height);
    if (qint64(width) * height * 4 > kMaxPixelBytes) {
        result.error = QStringLiteral("picture too large: %1 x %2 pixels").arg(width).arg(height);
        return result;
    }
    const QSize target =
        box.isEmpty() ? result.fullSize : jpegDecodeSizeForBox(result.fullSize, box);
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    const int pixelFormat = cmyk ? TJPF_CMYK : kRgb32PixelFormat;
    QImage image;
    QByteArray cmykPixels;
    uchar *buffer = nullptr;
    if (cmyk) {
        cmykPixels.resize(qsizetype(target.width()) * target.height() * 4);
        buffer = reinterpret_cast<uchar *>(cmykPixels.data());
    } else {
        image = QImage(target, QImage::Format_RGB32);
        if (image.isNull()) {
            result.error = QStringLiteral("out of memory for %1 x %2 pixels")
                               .arg(target.width())
                               .arg(target.height());
            return result;
        }
        buffer = image.bits();
    }
    const int pitch = cmyk ? target.width() * 4 : int(image.bytesPerLine());
    if (tjDecompress2(decompressor.handle(), jpeg, jpegSize, buffer, target.width(), pitch,
                      target.height(), pixelFormat, TJFLAG_ACCURATEDCT) != 0 &&
        tjGetErrorCode(decompressor.handle()) == TJERR_FATAL) {
        result.error = decompressor.error();
        return result;
    }
    result.image = cmyk ? cmykToRgb(cmykPixels, target.width(), target.height()) : image;
    return result;
}

// Read, not mapped: a file that another program truncates while it is decoded would end the
// program with SIGBUS through a mapping; the copy costs well under a hundredth of the decode.
DecodedJpeg decodeFile(const QString &path, const QSize &box)
{
    QString error;
    const QByteArray jpeg = readJpegFile(path, error);
    if (!error.isEmpty()) {
        DecodedJpeg result;
        result.error = error;
        return result;
    }
    return decodeAt(jpeg, box);
}

} // namespace

QByteArray readJpegFile(const QString &path, QString &error)
{
    QByteArray jpeg;
    const StepError read = readWholeFile(path, jpeg, kLargestPictureFile);
    if (read.failed || jpeg.isEmpty())
        error = read.failed ? read.description : QStringLiteral("empty file");
    return jpeg;
}

QSize jpegDecodeSizeForBox(const QSize &fullSize, const QSize &box)
{
    const QSize drawn = PaintFitRect(fullSize, box).size();
    if (drawn.isEmpty())
        return fullSize;
    QSize chosen = fullSize;
    for (const tjscalingfactor &factor : reducingFactors()) {
        const QSize candidate = scaledSize(fullSize, factor);
        if (candidate.width() < drawn.width() || candidate.height() < drawn.height())
            break;
        chosen = candidate;
    }
    return chosen;
}

DecodedJpeg decodeJpeg(const QByteArray &data)
{
    return decodeAt(data, QSize());
}

DecodedJpeg decodeJpegFile(const QString &path)
{
    return decodeFile(path, QSize());
}

DecodedJpeg decodeJpegForBox(const QByteArray &data, const QSize &box)
{
    return decodeAt(data, box);
}

DecodedJpeg decodeJpegFileForBox(const QString &path, const QSize &box)
{
    return decodeFile(path, box);
}
