#include "tests/support/transformedimage.h"

#include <array>

namespace
{

// Where a point goes, about the centre: x' = a x + b y, y' = c x + d y (y down).
struct Matrix {
    int a, b, c, d;
};

constexpr std::array<Matrix, 8> kMatrices = {{{1, 0, 0, 1},
                                              {0, -1, 1, 0},
                                              {-1, 0, 0, -1},
                                              {0, 1, -1, 0},
                                              {-1, 0, 0, 1},
                                              {1, 0, 0, -1},
                                              {0, 1, 1, 0},
                                              {0, -1, -1, 0}}};

} // namespace

QImage transformedImage(const QImage &image, int code)
{
    const Matrix m = kMatrices[size_t(code)];
    const int w = image.width(), h = image.height();
    const bool swapped = m.a == 0;
    const int outW = swapped ? h : w, outH = swapped ? w : h;
    QImage out(outW, outH, image.format());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Doubled coordinates about the centre keep every pixel centre whole.
            const int cx = 2 * x + 1 - w, cy = 2 * y + 1 - h;
            const int tx = m.a * cx + m.b * cy, ty = m.c * cx + m.d * cy;
            out.setPixel((tx + outW - 1) / 2, (ty + outH - 1) / 2, image.pixel(x, y));
        }
    }
    return out;
}

int uprightCodeOf(int orientation)
{
    constexpr std::array<int, 9> kUpright = {0, 0, 4, 2, 5, 6, 1, 7, 3};
    return orientation >= 1 && orientation <= 8 ? kUpright[size_t(orientation)] : 0;
}

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    }
    return double(sum) / (3.0 * a.width() * a.height());
}
