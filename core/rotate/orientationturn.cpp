#include "core/rotate/orientationturn.h"

#include <array>

namespace
{

// A transform as the matrix that maps a point (x right, y down, from the
// picture's centre) to where it goes: x' = a x + b y, y' = c x + d y.
struct Matrix {
    int a, b, c, d;
    bool operator==(const Matrix &) const = default;
};

constexpr std::array<Matrix, 8> kTransforms = {{
    {1, 0, 0, 1},   // none
    {0, -1, 1, 0},  // a quarter turn clockwise
    {-1, 0, 0, -1}, // a half turn
    {0, 1, -1, 0},  // a quarter turn counter-clockwise
    {-1, 0, 0, 1},  // flip left-right
    {1, 0, 0, -1},  // flip top-bottom
    {0, 1, 1, 0},   // transpose
    {0, -1, -1, 0}, // transverse
}};

// Orientation 1-8 to the transform that shows it upright.
constexpr std::array<qint32, 9> kUpright = {0, 0, 4, 2, 5, 6, 1, 7, 3};

Matrix product(const Matrix &second, const Matrix &first)
{
    return {second.a * first.a + second.b * first.c, second.a * first.b + second.b * first.d,
            second.c * first.a + second.d * first.c, second.c * first.b + second.d * first.d};
}

qint32 valid(qint32 transform)
{
    return transform >= 0 && transform < qint32(kTransforms.size()) ? transform : 0;
}

} // namespace

qint32 uprightTransform(int orientation)
{
    return orientation >= 1 && orientation <= 8 ? kUpright[size_t(orientation)] : 0;
}

qint32 composeTransforms(qint32 first, qint32 second)
{
    const Matrix both =
        product(kTransforms[size_t(valid(second))], kTransforms[size_t(valid(first))]);
    for (size_t i = 0; i < kTransforms.size(); ++i) {
        if (kTransforms[i] == both)
            return qint32(i);
    }
    return 0; // not reached: the eight are closed under composition
}

qint32 turnAsShown(int orientation, qint32 turn)
{
    return composeTransforms(uprightTransform(orientation), turn);
}
