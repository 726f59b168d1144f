#include "exif/jpegdecode.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>

#include <jpeglib.h>

#include "exif/descriptor.h"
#include "exif/jpegfilesource.h"
#include "exif/paintfit.h"
#include "exif/workfile.h"

namespace
{

// Refuse pictures whose full-size pixels would take more than this (268 megapixels), also
// when they are decoded scaled down: the codec's work and, for progressive pictures, its
// coefficient buffers grow with the full size. A 50-megapixel camera picture needs 200 MB;
// a forged 65500 x 65500 header (the largest the codec reads) would need 16 GB.
constexpr qint64 kMaxPixelBytes = qint64(1) << 30;

// The codec's byte order that matches QImage::Format_RGB32 on this machine.
constexpr J_COLOR_SPACE kRgb32ColorSpace =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// The codec scales by n/8 for n from 1 to 8 (DCT scaling).
constexpr int kScaleDenominator = 8;

// Rows handed to the codec per call.
constexpr int kRowsPerCall = 16;

QSize scaledSize(const QSize &size, int eighths)
{
    const auto scaled = [eighths](int length) {
        return int((qint64(length) * eighths + kScaleDenominator - 1) / kScaleDenominator);
    };
    return QSize(scaled(size.width()), scaled(size.height()));
}

// The smallest n/8 scale at which the picture still covers what PaintFit draws into `box`.
int eighthsForBox(const QSize &fullSize, const QSize &box)
{
    const QSize drawn = PaintFitRect(fullSize, box).size();
    if (drawn.isEmpty())
        return kScaleDenominator;
    int chosen = kScaleDenominator;
    for (int eighths = kScaleDenominator - 1; eighths >= 1; --eighths) {
        const QSize candidate = scaledSize(fullSize, eighths);
        if (candidate.width() < drawn.width() || candidate.height() < drawn.height())
            break;
        chosen = eighths;
    }
    return chosen;
}

// Adobe CMYK JPEGs store inverted ink values, so each channel times black gives the colour.
QImage cmykToRgb(const QByteArray &pixels, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
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

// The codec's errors end a step through longjmp; warnings (damaged data it decodes past) are
// kept, the first one as the reason, and never printed.
struct CodecMessages {
    jpeg_error_mgr manager{}; // first member: the codec hands back a pointer to it
    std::jmp_buf fatal{};
    char error[JMSG_LENGTH_MAX] = {};
    char firstWarning[JMSG_LENGTH_MAX] = {};

    static CodecMessages &of(j_common_ptr info)
    {
        return *reinterpret_cast<CodecMessages *>(info->err);
    }

    static void onError(j_common_ptr info)
    {
        CodecMessages &messages = of(info);
        info->err->format_message(info, messages.error);
        std::longjmp(messages.fatal, 1);
    }

    static void onMessage(j_common_ptr info, int level)
    {
        if (level >= 0)
            return; // trace output
        CodecMessages &messages = of(info);
        if (info->err->num_warnings++ == 0)
            info->err->format_message(info, messages.firstWarning);
    }

    static void silent(j_common_ptr) {}
};

// One decompression: the codec's state and its messages. Every call into the codec goes
// through step(), which turns a codec error into a false result. No object with a destructor
// may live inside a step, as the error leaves it by longjmp.
class Decompression
{
  public:
    Decompression()
    {
        m_info.err = jpeg_std_error(&m_messages.manager);
        m_messages.manager.error_exit = CodecMessages::onError;
        m_messages.manager.emit_message = CodecMessages::onMessage;
        m_messages.manager.output_message = CodecMessages::silent;
        m_created = step([](j_decompress_ptr info) { jpeg_create_decompress(info); });
    }
    ~Decompression()
    {
        if (m_created)
            jpeg_destroy_decompress(&m_info); // also ends reading: nothing past this is read
    }
    Decompression(const Decompression &) = delete;
    Decompression &operator=(const Decompression &) = delete;

    bool created() const { return m_created; }
    j_decompress_ptr info() { return &m_info; }

    template <typename Step> bool step(Step run)
    {
        if (setjmp(m_messages.fatal) != 0)
            return false;
        run(&m_info);
        return true;
    }

    QString error() const { return QString::fromLocal8Bit(m_messages.error); }
    QString warning() const
    {
        return m_messages.manager.num_warnings > 0 ? QString::fromLocal8Bit(m_messages.firstWarning)
                                                   : QString();
    }

  private:
    jpeg_decompress_struct m_info{};
    CodecMessages m_messages;
    bool m_created = false;
};

// Reads every row into `rows` (`pitch` bytes apart). False on a codec error, or when the codec
// stops giving rows.
bool readRows(Decompression &jpeg, uchar *rows, qsizetype pitch)
{
    bool complete = true;
    const bool ran = jpeg.step([rows, pitch, &complete](j_decompress_ptr info) {
        JSAMPROW pointers[kRowsPerCall];
        while (info->output_scanline < info->output_height) {
            const JDIMENSION first = info->output_scanline;
            const JDIMENSION count =
                std::min<JDIMENSION>(kRowsPerCall, info->output_height - first);
            for (JDIMENSION i = 0; i < count; ++i)
                pointers[i] = rows + qsizetype(first + i) * pitch;
            if (jpeg_read_scanlines(info, pointers, count) == 0) {
                complete = false;
                return;
            }
        }
    });
    return ran && complete;
}

DecodedJpeg failed(const QString &why)
{
    DecodedJpeg result;
    result.error = why;
    return result;
}

// Decodes from the source already attached to `jpeg`.
DecodedJpeg decodeFrom(Decompression &jpeg, const QSize &box)
{
    if (!jpeg.step([](j_decompress_ptr info) { jpeg_read_header(info, TRUE); }))
        return failed(jpeg.error());
    j_decompress_ptr info = jpeg.info();
    DecodedJpeg result;
    result.fullSize = QSize(int(info->image_width), int(info->image_height));
    if (qint64(info->image_width) * info->image_height * 4 > kMaxPixelBytes) {
        result.error = QStringLiteral("picture too large: %1 x %2 pixels")
                           .arg(info->image_width)
                           .arg(info->image_height);
        return result;
    }
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : kRgb32ColorSpace;
    info->dct_method = JDCT_ISLOW;
    info->scale_num = box.isEmpty() ? kScaleDenominator : eighthsForBox(result.fullSize, box);
    info->scale_denom = kScaleDenominator;
    if (!jpeg.step([](j_decompress_ptr info) { jpeg_start_decompress(info); })) {
        result.error = jpeg.error();
        return result;
    }
    const int width = int(info->output_width), height = int(info->output_height);
    QImage image;
    QByteArray cmykPixels;
    uchar *rows = nullptr;
    qsizetype pitch = 0;
    if (cmyk) {
        pitch = qsizetype(width) * 4;
        cmykPixels.resize(pitch * height);
        rows = reinterpret_cast<uchar *>(cmykPixels.data());
    } else {
        image = QImage(width, height, QImage::Format_RGB32);
        rows = image.bits();
        pitch = image.bytesPerLine();
    }
    if (!rows) {
        result.error = QStringLiteral("out of memory for %1 x %2 pixels").arg(width).arg(height);
        return result;
    }
    if (!readRows(jpeg, rows, pitch)) {
        result.error =
            jpeg.error().isEmpty() ? QStringLiteral("the decoder gave no more rows") : jpeg.error();
        return result;
    }
    result.image = cmyk ? cmykToRgb(cmykPixels, width, height) : image;
    result.warning = jpeg.warning();
    return result;
}

DecodedJpeg decodeBytes(QByteArrayView data, const QSize &box)
{
    if (data.isEmpty())
        return failed(QStringLiteral("empty JPEG data"));
    Decompression jpeg;
    if (!jpeg.created())
        return failed(jpeg.error());
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const auto length = static_cast<unsigned long>(data.size());
    if (!jpeg.step([bytes, length](j_decompress_ptr info) { jpeg_mem_src(info, bytes, length); }))
        return failed(jpeg.error());
    return decodeFrom(jpeg, box);
}

// Read in chunks through the codec, neither mapped nor read whole: a file that another program
// truncates while it is decoded would end the program with SIGBUS through a mapping, and a whole
// read would hold all of a file whose picture is followed by a long tail.
DecodedJpeg decodeFile(const QString &path, const QSize &box)
{
    // Not blocking: a pipe put in a picture's place must fail, not wait for a writer.
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return failed(StepError::fromErrno(errno, path).description);
    struct stat status {
    };
    if (::fstat(file.get(), &status) != 0)
        return failed(StepError::fromErrno(errno, path).description);
    if (!S_ISREG(status.st_mode))
        return failed(path + QStringLiteral(": not a regular file"));
    if (status.st_size > kLargestPictureFile)
        return failed(path + QStringLiteral(": too large to be a picture"));
    if (status.st_size == 0)
        return failed(QStringLiteral("empty file"));
    Decompression jpeg;
    if (!jpeg.created())
        return failed(jpeg.error());
    JpegFileSource source(file.get());
    source.attach(jpeg.info());
    return decodeFrom(jpeg, box);
}

} // namespace

QSize jpegDecodeSizeForBox(const QSize &fullSize, const QSize &box)
{
    return scaledSize(fullSize, eighthsForBox(fullSize, box));
}

DecodedJpeg decodeJpeg(const QByteArray &data)
{
    return decodeBytes(data, QSize());
}

DecodedJpeg decodeJpegFile(const QString &path)
{
    return decodeFile(path, QSize());
}

DecodedJpeg decodeJpegForBox(const QByteArray &data, const QSize &box)
{
    return decodeBytes(data, box);
}

DecodedJpeg decodeJpegFileForBox(const QString &path, const QSize &box)
{
    return decodeFile(path, box);
}
