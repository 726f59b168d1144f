#include "core/cameratable.h"

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QLocale>
#include <QStringConverter>

#include "core/numbertext.h"

namespace
{

const QString kEquivalentSuffix = QStringLiteral("mm (35mm換算)");
const QString kFocalLengthPrefix = QStringLiteral("f  = ");

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isSeparator(QChar c)
{
    return c == u',' || isLineEnd(c);
}

// Reads the field starting at `pos` (blanks already skipped) and leaves `pos` on the separator
// that ends it, or at the end. A quoted field runs to its closing quote and may hold commas;
// anything between that quote and the separator is not part of the value.
QString readField(const QString &text, qsizetype &pos)
{
    const qsizetype size = text.size();
    if (pos < size && text[pos] == u'"') {
        const qsizetype close = text.indexOf(u'"', pos + 1);
        const qsizetype end = close < 0 ? size : close;
        const QString field = text.mid(pos + 1, end - pos - 1);
        pos = end;
        while (pos < size && !isSeparator(text[pos]))
            ++pos;
        return field;
    }
    const qsizetype start = pos;
    while (pos < size && !isSeparator(text[pos]))
        ++pos;
    QString field = text.mid(start, pos - start);
    while (!field.isEmpty() && isBlank(field.back()))
        field.chop(1);
    return field;
}

// Splits the content into fields: a field ends at a comma or a line end, leading blanks are
// skipped. A line end right after a comma ends an empty field; a blank line holds no field.
QStringList splitFields(const QString &text)
{
    QStringList fields;
    const qsizetype size = text.size();
    qsizetype pos = 0;
    bool afterComma = false;
    while (true) {
        while (pos < size && isBlank(text[pos]))
            ++pos;
        if (pos >= size) {
            if (afterComma)
                fields.append(QString());
            return fields;
        }
        if (!afterComma && isLineEnd(text[pos])) {
            ++pos;
            continue;
        }
        fields.append(readField(text, pos));
        afterComma = pos < size && text[pos] == u',';
        ++pos; // past the separator
    }
}

float numberField(const QString &field)
{
    bool ok = false;
    const float value = QLocale::c().toFloat(field.trimmed(), &ok);
    return ok ? value : 0.0f;
}

// Model names as cameras write them may carry trailing blanks or padding zero bytes.
QString trimmedModel(const QString &model)
{
    qsizetype begin = 0;
    qsizetype end = model.size();
    auto isPadding = [](QChar c) { return c == u' ' || c == QChar(0); };
    while (begin < end && isPadding(model[begin]))
        ++begin;
    while (end > begin && isPadding(model[end - 1]))
        --end;
    return model.mid(begin, end - begin);
}

// A slider position: the value rounded to the nearest whole number (halves to even). A zoom
// ratio far beyond any lens's stays within the slider's whole numbers.
int sliderPosition(double value)
{
    constexpr double kLargestPosition = 1e6;
    if (!(value > 0))
        return 0;
    return int(std::nearbyint(std::min(value, kLargestPosition)));
}

} // namespace

CameraTable::LoadResult CameraTable::load(const QString &path)
{
    m_models.clear();
    m_errorNumber = 0;
    m_errorString.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool missing = !QFile::exists(path);
        m_errorNumber = missing ? 53 : 75;
        m_errorString = file.errorString();
        return missing ? LoadResult::FileMissing : LoadResult::OpenFailed;
    }
    auto decode = QStringDecoder(QStringDecoder::System);
    parse(decode(file.readAll()));
    return LoadResult::Loaded;
}

void CameraTable::parse(const QString &text)
{
    m_models.clear();
    const QStringList fields = splitFields(text);
    qsizetype next = 0;
    while (next < fields.size() && m_models.size() < kMaxModels) {
        CameraModel model;
        model.name = fields[next++];
        if (model.name.startsWith(u'\''))
            continue; // a comment is one field
        if (next < fields.size())
            model.zoomRatio = numberField(fields[next++]);
        if (next < fields.size())
            model.wideFocalLength = numberField(fields[next++]);
        if (next < fields.size())
            model.wideEquivalent = numberField(fields[next++]);
        m_models.append(model);
    }
}

FocalLengthDisplay CameraTable::lookup(const QString &exifModel, double focalLength) const
{
    const QString wanted = trimmedModel(exifModel);
    FocalLengthDisplay display = plainFocalLengthDisplay(focalLength);
    for (const CameraModel &model : m_models) {
        if (model.name != wanted)
            continue;
        if (model.zoomRatio > 1) {
            // Without a focal length or a wide end the zoom position cannot be placed.
            if (!(model.wideFocalLength > 0) || !(focalLength > 0))
                return plainFocalLengthDisplay(focalLength);
            const double ratio = focalLength / double(model.wideFocalLength);
            FocalLengthDisplay zoom;
            zoom.zoomLine = QStringLiteral("×") + fixedDecimalText(ratio, 1);
            zoom.focalLengthLine = kFocalLengthPrefix +
                                   fixedDecimalText(double(model.wideEquivalent) * ratio, 0) +
                                   kEquivalentSuffix;
            zoom.sliderVisible = true;
            zoom.sliderMinimum = 5;
            zoom.sliderMaximum = std::max(5, sliderPosition(double(model.zoomRatio) * 5));
            // A focal length outside the lens's range puts the slider at its nearest end.
            zoom.sliderValue =
                std::clamp(sliderPosition(ratio * 5), zoom.sliderMinimum, zoom.sliderMaximum);
            return zoom;
        }
        display = FocalLengthDisplay();
        display.focalLengthLine =
            kFocalLengthPrefix + shortestDecimalText(model.wideEquivalent) + kEquivalentSuffix;
    }
    return display;
}

FocalLengthDisplay plainFocalLengthDisplay(double focalLength)
{
    FocalLengthDisplay display;
    display.focalLengthLine =
        kFocalLengthPrefix + shortestDecimalText(focalLength) + QStringLiteral(" mm");
    return display;
}
