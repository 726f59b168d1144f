#pragma once

#include <QImage>
#include <QString>

// The program's one JPEG encoder: every new JPEG picture it writes (Exif
// thumbnails, previews) goes through here.
//
// Writes the top-left width x height pixels of surface as a baseline JPEG at
// the given quality (1-100, larger is better) to fileName. The file begins
// with SOI, and its first DQT segment comes before every DHT segment and the
// frame header, so callers may keep SOI plus everything from that DQT on.
// The data goes to a new file that is renamed over fileName only when
// complete, so a failed call never leaves a half-written file at fileName.
//
// Returns 0 on success, -1 on any failure (empty or too small surface, a size
// that is not positive, quality outside 1-100, a file that cannot be written).
qint32 DCSavetoJPEG(const QImage &surface, qint32 width, qint32 height, const QString &fileName,
                    quint8 quality);

// The same encoding into memory; empty on failure.
QByteArray encodeJpeg(const QImage &surface, qint32 width, qint32 height, quint8 quality);
