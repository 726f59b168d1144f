#pragma once

#include <QImage>

// The image under one of the eight lossless transforms, numbered as the
// rotation engine numbers them (0 none, 1-3 quarter turns clockwise, half,
// counter-clockwise, 4 flip left-right, 5 flip top-bottom, 6 transpose, 7
// transverse), pixel for pixel.
QImage transformedImage(const QImage &image, int code);

// The transform that shows a picture with Exif Orientation 1-8 upright.
int uprightCodeOf(int orientation);

// The mean difference of two images' channels (0-255); 255 when their sizes differ.
double meanDifference(const QImage &a, const QImage &b);
