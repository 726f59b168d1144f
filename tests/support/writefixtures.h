#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// Source pictures and inspection helpers for the Exif writing tests. Sources
// come from Qt's JPEG writer and the libjpeg-turbo tools, never from the code
// under test.
namespace writefixtures
{

// A picture with a gradient and a bright frame, so that position matters.
QImage pattern(const QSize &size);

// Which corner of pattern() shows at each corner of `area` (the whole image when empty), read
// in the order top-left, top-right, bottom-left, bottom-right: 'a' for the pattern's top left,
// 'b' its top right, 'c' its bottom left, 'd' its bottom right. An upright copy gives "abcd",
// one turned a quarter right "cadb".
QString patternCorners(const QImage &image, const QRect &area = {});

// A plain JFIF baseline JPEG written by Qt's JPEG plugin.
QByteArray plainJpeg(const QSize &size, int quality = 90);

// Runs a tool; returns its standard output, or an empty array (and a message
// in error) when it could not run or failed.
QByteArray runTool(const QString &program, const QStringList &arguments, QString *error,
                   const QByteArray &input = {});

// cjpeg/jpegtran output: `options` applied to a plain JPEG of `size`.
QByteArray jpegtranJpeg(const QSize &size, const QStringList &options, QString *error);

struct Segment {
    int marker = 0; // second marker byte
    qint64 offset = 0;
    QByteArray bytes; // marker, length and payload
};

// The segments from SOI up to and including SOS (hand-rolled, independent of
// the code under test).
QList<Segment> segmentsOf(const QByteArray &jpeg);

// jpeg rebuilt as SOI + the given segments + everything after the SOS segment.
QByteArray withSegments(const QByteArray &jpeg, const QList<Segment> &segments);

// A segment with the given marker and payload.
Segment makeSegment(int marker, const QByteArray &payload);

bool writeFile(const QString &path, const QByteArray &data);
QByteArray readFile(const QString &path);

} // namespace writefixtures
