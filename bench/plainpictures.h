#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// The plain 12-megapixel camera-like JPEG the conversion benchmarks work on.

inline constexpr int kPlainWidth = 4000;
inline constexpr int kPlainHeight = 3000;

// The picture, about 3 MB: generated once into the cache folder and read from there after.
QByteArray plainPicture(const QString &cacheFolder);

// The plain picture given an Exif header with a thumbnail, as a camera writes it: cached too.
QByteArray cameraPicture(const QString &cacheFolder);

// `count` copies of jpeg in folder as IMG_0000.jpg ...; their paths.
QStringList fillFolder(const QString &folder, const QByteArray &jpeg, int count);

// The part of every conversion floor that reads the file: its bytes into `jpeg` and the picture
// decoded at 1/8 scale into `eighth`. False when the file cannot be read or decoded.
bool readAndDecodeEighth(void *decoder, const QString &path, QByteArray &jpeg, QImage &eighth);
