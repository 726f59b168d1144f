#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Hand-built JPEG marker sequences for the frame reader tests. Only the structure is real:
// segment payloads are filler bytes.
namespace jpegbytes
{

QByteArray soi();
QByteArray eoi();
// Marker, big-endian length (payload + 2), payload.
QByteArray segment(quint8 marker, const QByteArray &payload);
// A segment with `payloadSize` filler bytes (0x11, never 0xFF).
QByteArray filler(quint8 marker, int payloadSize);
// A frame header (SOF0..SOF3) for a three-component picture of width x height.
QByteArray frame(quint8 marker, quint16 width, quint16 height);
// A scan header followed by a few bytes of entropy-coded data.
QByteArray scan();

// A real JPEG (`jpeg`, as an encoder wrote it) whose frame header now claims width x height:
// a forged size in front of valid tables and a small scan. Empty when it has no frame header.
QByteArray withFrameSize(QByteArray jpeg, quint16 width, quint16 height);

// A plain JPEG (no embedded thumbnail) with two stray bytes in front of its first DQT marker: the
// codec decodes the whole picture and warns "Corrupt JPEG data: 2 extraneous bytes before marker
// 0xdb". Empty when it has no DQT.
QByteArray withStrayBytesBeforeDqt(QByteArray jpeg);

// Writes `bytes` to `path`; false on failure.
bool writeFile(const QString &path, const QByteArray &bytes);

} // namespace jpegbytes
