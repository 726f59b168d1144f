#pragma once

#include <QSize>
#include <QString>

// The scan benchmarks' pictures, generated once into a cache folder and reused:
// camera/ holds camera-like 12-megapixel JPEG files with an Exif thumbnail, plain/
// the same picture without Exif, large/ a 10,000-name listing of links to camera/.

constexpr int cameraFileCount = 1000;
constexpr int plainFileCount = 100;
constexpr int largeListingCount = 10000;
constexpr int pictureWidth = 4000;
constexpr int pictureHeight = 3000;
// The list's thumbnail size, also that of the pictures' Exif thumbnails.
constexpr QSize listSize(160, 120);

// Generates the three folders under `cache` unless they are complete already.
// False when a file cannot be written.
bool prepareScanPictures(const QString &cache);
