#include "exif/exifdata.h"

#include "exif/exiffields.h"
#include "exif/exiftags.h"
#include "exif/filebytereader.h"
#include "exif/tiffreader.h"

using TextForm = TiffReader::TextForm;

void ExifData::SetExif(const QString &path)
{
    m_path = path;
    FileByteReader file;
    if (const qint32 error = file.open(path)) {
        fail(error);
        return;
    }
    TiffReader tiff(file);
    const std::optional<bool> isExif = tiff.readHeader();
    if (!isExif) {
        fail(tiff.error());
        return;
    }
    m_byteOrderMark = tiff.byteOrderMark();
    m_isExif = *isExif;
    if (!m_isExif)
        return;

    // The Exif IFD is read only when this file's IFD0 points at one, never at an offset
    // left from an earlier file.
    m_exifIfdOffset = 0;
    const auto ifd0 = tiff.directory(tiff.ifd0Offset());
    if (!ifd0 || !readIfd0Tags(tiff, *ifd0))
        return fail(tiff.error());
    if (m_exifIfdOffset != 0) {
        const auto exifIfd = tiff.directory(m_exifIfdOffset);
        if (!exifIfd || !readExifIfdTags(tiff, *exifIfd))
            return fail(tiff.error());
    }
    m_hasIfd1 = ifd0->nextOffset != 0;
    if (m_hasIfd1) {
        // IFD1 goes through IFD0's table: its Make, Model, Software or DateTime replace IFD0's.
        const auto ifd1 = tiff.directory(ifd0->nextOffset);
        if (!ifd1 || !readIfd0Tags(tiff, *ifd1))
            return fail(tiff.error());
    }
    if (tiff.error() != 0)
        fail(tiff.error());
}

bool ExifData::readIfd0Tags(TiffReader &tiff, const IfdDirectory &directory)
{
    for (const IfdEntry &entry : directory.entries) {
        std::optional<QByteArray> text;
        switch (entry.tag) {
        case ExifTag::ImageDescription:
            text = tiff.text(entry, TextForm::WithoutTerminator);
            break;
        case ExifTag::Make:
            text = tiff.text(entry, TextForm::WithoutTerminator);
            m_make = text.value_or(m_make);
            break;
        case ExifTag::Model:
            text = tiff.text(entry, TextForm::WithoutTerminator);
            m_model = text.value_or(m_model);
            break;
        case ExifTag::Software:
            text = tiff.text(entry, TextForm::WithoutTerminator);
            m_software = text.value_or(m_software);
            break;
        case ExifTag::DateTime:
            text = tiff.text(entry, TextForm::WithTerminator);
            m_date = text.value_or(m_date);
            break;
        case ExifTag::ExifIfdPointer:
            m_exifIfdOffset = entry.value;
            continue;
        default:
            continue;
        }
        if (!text)
            return false;
    }
    return true;
}

bool ExifData::readExifIfdTags(TiffReader &tiff, const IfdDirectory &directory)
{
    for (const IfdEntry &entry : directory.entries) {
        switch (entry.tag) {
        case ExifTag::ExposureTime:
        case ExifTag::ShutterSpeedValue: {
            const Rational shutter = tiff.rational(entry);
            m_shutterKind = static_cast<qint16>(
                entry.tag == ExifTag::ShutterSpeedValue ? ShutterKind::Apex : ShutterKind::Seconds);
            m_shutterNumerator = shutter.numerator;
            m_shutterDenominator = shutter.denominator;
            break;
        }
        case ExifTag::FNumber: {
            const Rational fNumber = tiff.rational(entry);
            m_fNumberNumerator = fNumber.numerator;
            m_fNumberDenominator = fNumber.denominator;
            break;
        }
        case ExifTag::ExposureProgram:
            m_exposureProgram = static_cast<qint16>(entry.value);
            break;
        case ExifTag::IsoSpeedRatings:
            m_isoRating = static_cast<qint16>(entry.value);
            break;
        case ExifTag::ExifVersion:
            m_exifVersion = entry.field;
            break;
        case ExifTag::DateTimeOriginal:
        case ExifTag::DateTimeDigitized: {
            const auto date = tiff.text(entry, TextForm::WithTerminator);
            if (!date)
                return false;
            m_date = *date;
            break;
        }
        case ExifTag::CompressedBitsPerPixel:
            m_compressionNumerator = tiff.rational(entry).numerator;
            break;
        case ExifTag::ExposureBiasValue: {
            const Rational bias = tiff.rational(entry);
            m_exposureBiasNumerator = bias.numerator;
            m_exposureBiasDenominator = bias.denominator;
            break;
        }
        case ExifTag::MaxApertureValue:
        case ExifTag::SubjectDistance:
            tiff.rational(entry);
            break;
        case ExifTag::MeteringMode:
            m_meteringMode = static_cast<qint16>(entry.value);
            break;
        case ExifTag::Flash:
            m_flash = entry.value;
            break;
        case ExifTag::FocalLength: {
            const Rational focalLength = tiff.rational(entry);
            m_focalLengthNumerator = focalLength.numerator;
            m_focalLengthDenominator = focalLength.denominator;
            break;
        }
        case ExifTag::UserComment:
            if (!tiff.text(entry, TextForm::WithoutTerminator))
                return false;
            break;
        case ExifTag::PixelXDimension:
            m_pixelWidth = static_cast<qint32>(entry.value);
            break;
        case ExifTag::PixelYDimension:
            m_pixelHeight = static_cast<qint32>(entry.value);
            break;
        default:
            break;
        }
    }
    return true;
}

void ExifData::fail(qint32 error)
{
    m_isExif = false;
    m_hasIfd1 = false;
    m_error = error;
}

QString ExifData::VersionExif() const
{
    return ExifFields::versionText(m_exifVersion);
}

QString ExifData::DateExif() const
{
    return ExifFields::dateText(m_date);
}

QString ExifData::FlashExif() const
{
    return ExifFields::flashText(m_flash);
}

QString ExifData::ShutterSpeed() const
{
    return ExifFields::shutterSpeedText(static_cast<ShutterKind>(m_shutterKind), m_shutterNumerator,
                                        m_shutterDenominator);
}

QString ExifData::PictureMode() const
{
    return ExifFields::pictureModeText(m_compressionNumerator);
}

double ExifData::Fnumber() const
{
    return ExifFields::ratio(m_fNumberNumerator, m_fNumberDenominator);
}

QString ExifData::SokkouMode() const
{
    return ExifFields::meteringModeText(m_meteringMode);
}

QString ExifData::RosyutsuProgram() const
{
    return ExifFields::exposureProgramText(m_exposureProgram);
}

double ExifData::FocalLength() const
{
    return ExifFields::ratio(m_focalLengthNumerator, m_focalLengthDenominator);
}

QString ExifData::ExpBiasVal() const
{
    return ExifFields::exposureBiasText(m_exposureBiasNumerator, m_exposureBiasDenominator);
}
