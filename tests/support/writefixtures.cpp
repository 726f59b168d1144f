#include "tests/support/writefixtures.h"

#include <algorithm>

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QProcess>
#include <QtEndian>

namespace writefixtures
{

QImage pattern(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(40 + 160 * x / size.width(), 40 + 160 * y / size.height(), 120);
    }
    return image;
}

// Red grows to the right and green downwards, so each corner has a colour of its own.
QString patternCorners(const QImage &image, const QRect &area)
{
    const QRect box = area.isEmpty() ? image.rect() : area;
    const int inset = std::max(box.width(), box.height()) / 10;
    const QRect inner = box.adjusted(inset, inset, -inset, -inset);
    QString corners;
    for (const QPoint &at :
         {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()}) {
        const QColor colour = image.pixelColor(at);
        corners += QChar(u'a' + (colour.red() > 120 ? 1 : 0) + (colour.green() > 120 ? 2 : 0));
    }
    return corners;
}

QByteArray plainJpeg(const QSize &size, int quality)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    pattern(size).save(&buffer, "JPG", quality);
    return data;
}

QByteArray runTool(const QString &program, const QStringList &arguments, QString *error,
                   const QByteArray &input)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        *error = program + QStringLiteral(" cannot be started");
        return {};
    }
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = program + QStringLiteral(" failed: ") +
                 QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    return process.readAllStandardOutput();
}

QByteArray jpegtranJpeg(const QSize &size, const QStringList &options, QString *error)
{
    return runTool(QStringLiteral("jpegtran"), options, error, plainJpeg(size));
}

QList<Segment> segmentsOf(const QByteArray &jpeg)
{
    QList<Segment> segments;
    qint64 pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF) {
        const int marker = uchar(jpeg[pos + 1]);
        const int length = qFromBigEndian<quint16>(jpeg.constData() + pos + 2);
        segments.append({marker, pos, jpeg.mid(pos, 2 + length)});
        pos += 2 + length;
        if (marker == 0xDA)
            break;
    }
    return segments;
}

QByteArray withSegments(const QByteArray &jpeg, const QList<Segment> &segments)
{
    const QList<Segment> original = segmentsOf(jpeg);
    const Segment &sos = original.last();
    QByteArray result("\xFF\xD8", 2);
    for (const Segment &segment : segments)
        result += segment.bytes;
    return result + jpeg.mid(sos.offset + sos.bytes.size());
}

Segment makeSegment(int marker, const QByteArray &payload)
{
    QByteArray bytes(2, '\xFF');
    bytes[1] = char(marker);
    const quint16 length = quint16(payload.size() + 2);
    bytes.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return {marker, 0, bytes};
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace writefixtures
