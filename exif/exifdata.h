#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

class TiffReader;
struct IfdDirectory;

// Reads the Exif header of one JPEG file and keeps the raw values of a fixed set of tags;
// the properties decode them into the texts and numbers the browser shows.
//
// A later SetExif only overwrites the values the new file has, so a caller that reads more
// than IsExif uses a fresh object per file. SetExif never throws: a failure leaves IsExif
// false and a non-zero ExifError, and keeps whatever values were read before it.
class ExifData
{
  public:
    void SetExif(const QString &path);

    QString GetExif() const { return m_path; }
    qint16 ExifError() const { return static_cast<qint16>(m_error); }
    QString VersionExif() const;
    bool IsExif() const { return m_isExif; }
    QString DateExif() const;
    qint32 SizeExifX() const { return m_pixelWidth; }
    qint32 SizeExifY() const { return m_pixelHeight; }
    QString FlashExif() const;
    QString ShutterSpeed() const;
    QString MakerExif() const { return QString::fromLatin1(m_make); }
    QString SoftwearExif() const { return QString::fromLatin1(m_software); }
    QString ModelExif() const { return QString::fromLatin1(m_model); }
    QString PictureMode() const;
    double Fnumber() const;
    QString SokkouMode() const;
    QString RosyutsuProgram() const;
    double FocalLength() const;
    QString ExpBiasVal() const;
    QString IIMM() const { return QString::fromLatin1(m_byteOrderMark); }
    bool HaveThumb() const { return m_hasIfd1; }
    qint16 ISOspeedRate() const { return m_isoRating; }

  private:
    bool readIfd0Tags(TiffReader &tiff, const IfdDirectory &directory);
    bool readExifIfdTags(TiffReader &tiff, const IfdDirectory &directory);
    void fail(qint32 error);

    QString m_path;
    bool m_isExif = false;
    bool m_hasIfd1 = false;
    qint32 m_error = 0;
    QByteArray m_byteOrderMark;
    QByteArray m_date;
    qint32 m_pixelWidth = 0;
    qint32 m_pixelHeight = 0;
    std::optional<quint32> m_flash;
    qint16 m_shutterKind = 0;
    qint32 m_shutterNumerator = 0;
    qint32 m_shutterDenominator = 0;
    std::optional<std::array<char, 4>> m_exifVersion;
    QByteArray m_make;
    QByteArray m_model;
    QByteArray m_software;
    qint32 m_compressionNumerator = 0;
    qint32 m_fNumberNumerator = 0;
    qint32 m_fNumberDenominator = 0;
    qint16 m_meteringMode = 0;
    qint16 m_exposureProgram = 0;
    qint32 m_focalLengthNumerator = 0;
    qint32 m_focalLengthDenominator = 0;
    qint32 m_exposureBiasNumerator = 0;
    qint32 m_exposureBiasDenominator = 0;
    qint16 m_isoRating = 0;
    quint32 m_exifIfdOffset = 0;
};
