#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// Which tag gave the kept shutter rational.
enum class ShutterKind : qint16 {
    None = 0,
    Apex = 1,    // ShutterSpeedValue: t = 2^-(n/d)
    Seconds = 2, // ExposureTime: t = n/d
};

// Pure decoders from the raw values of an Exif header to the numbers and Japanese texts the
// browser shows. Each takes what the parser kept and nothing else.
namespace ExifFields
{

// The second and third version bytes around a point ("2.2" for 0220); a lone NUL character
// when the file had no version.
QString versionText(const std::optional<std::array<char, 4>> &version);
// "YYYY/MM/DD hh:mm:ss" cut from the fixed positions of an Exif date; missing pieces are
// spaces, so the result always has 19 characters.
QString dateText(const QByteArray &date);
QString flashText(const std::optional<quint32> &flash);
QString shutterSpeedText(ShutterKind kind, qint32 numerator, qint32 denominator);
QString pictureModeText(qint32 compressionNumerator);
QString meteringModeText(qint16 mode);
QString exposureProgramText(qint16 program);
QString exposureBiasText(qint32 numerator, qint32 denominator);
// numerator / denominator, or 0 when the denominator is 0.
double ratio(qint32 numerator, qint32 denominator);

// value with exactly `decimals` decimals and a leading "-" when it is negative, rounded
// half away from zero on its decimal value (the double's 15 significant digits), so 0.15
// gives "0.2" although the double is slightly below 0.15. value must be finite.
QString formatFixed(double value, int decimals);

} // namespace ExifFields
