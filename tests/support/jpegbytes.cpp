#include "tests/support/jpegbytes.h"

#include <QFile>

namespace jpegbytes
{

namespace
{

QByteArray bigEndian16(quint16 value)
{
    QByteArray bytes;
    bytes.append(char(value >> 8));
    bytes.append(char(value & 0xFF));
    return bytes;
}

} // namespace

QByteArray soi()
{
    return QByteArray("\xFF\xD8", 2);
}

QByteArray eoi()
{
    return QByteArray("\xFF\xD9", 2);
}

QByteArray segment(quint8 marker, const QByteArray &payload)
{
    QByteArray bytes;
    bytes.append(char(0xFF));
    bytes.append(char(marker));
    bytes.append(bigEndian16(quint16(payload.size() + 2)));
    bytes.append(payload);
    return bytes;
}

QByteArray filler(quint8 marker, int payloadSize)
{
    return segment(marker, QByteArray(payloadSize, char(0x11)));
}

QByteArray frame(quint8 marker, quint16 width, quint16 height)
{
    QByteArray payload;
    payload.append(char(8)); // sample precision
    payload.append(bigEndian16(height));
    payload.append(bigEndian16(width));
    payload.append(char(3));
    for (char id = 1; id <= 3; ++id)
        payload.append(QByteArray().append(id).append(char(0x11)).append(char(0)));
    return segment(marker, payload);
}

QByteArray scan()
{
    const QByteArray header =
        segment(0xDA, QByteArray("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10));
    return header + QByteArray("\x12\x34\x56\x78", 4);
}

QByteArray withFrameSize(QByteArray jpeg, quint16 width, quint16 height)
{
    qsizetype pos = 2; // after SOI
    while (pos + 9 <= jpeg.size() && quint8(jpeg[pos]) == 0xFF) {
        const quint8 marker = quint8(jpeg[pos + 1]);
        if (marker >= 0xC0 && marker <= 0xC3) {
            jpeg.replace(pos + 5, 2, bigEndian16(height));
            jpeg.replace(pos + 7, 2, bigEndian16(width));
            return jpeg;
        }
        pos += 2 + (quint8(jpeg[pos + 2]) << 8 | quint8(jpeg[pos + 3]));
    }
    return {};
}

QByteArray withStrayBytesBeforeDqt(QByteArray jpeg)
{
    const qsizetype dqt = jpeg.indexOf(QByteArrayView("\xFF\xDB", 2));
    if (dqt < 0)
        return {};
    return jpeg.insert(dqt, QByteArrayView("\x00\x00", 2));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace jpegbytes
