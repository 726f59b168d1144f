#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class TiffReader;
struct IfdDirectory;

// Copies the small JPEG a camera stored in IFD1 of a file's Exif header, without decoding
// the main picture. One object per file.
//
// GetThumb returns the thumbnail's length as a signed 16-bit number (so a 40,000-byte
// thumbnail gives a negative result), or 0 when no thumbnail was extracted; any non-zero
// result means the thumbnail is ready. It never throws: a failure gives 0, IsExif false
// and a non-zero ExifError.
class ExifThumb
{
  public:
    // Writes the thumbnail into the work file thumbPath (created when missing, rewritten from
    // its first byte and cut to the thumbnail's length when it exists). A link at thumbPath
    // is not followed: the call fails. A file without a thumbnail leaves thumbPath as it was.
    qint16 GetThumb(const QString &source, const QString &thumbPath);
    // The same walk, with the thumbnail bytes returned in memory (empty when the result is 0).
    qint16 GetThumb(const QString &source, QByteArray &thumb);

    QString GetExif() const { return m_path; }
    QString IIMM() const { return QString::fromLatin1(m_byteOrderMark); }
    qint16 ExifError() const { return static_cast<qint16>(m_error); }
    bool IsExif() const { return m_isExif; }
    bool HaveThumb() const { return m_hasThumb; }
    // IFD0's Orientation as the walk found it (see orientedimage.h); 1 without one. The
    // thumbnail is stored as the main picture is, so it applies to both.
    int Orientation() const { return m_orientation; }

  private:
    bool readThumbTags(TiffReader &tiff);
    void keepThumbTags(const IfdDirectory &directory);
    qint16 fail(qint32 error);

    QString m_path;
    bool m_isExif = false;
    bool m_hasThumb = false;
    int m_orientation = 1;
    qint32 m_error = 0;
    QByteArray m_byteOrderMark;
    quint32 m_exifIfdOffset = 0;
    quint32 m_thumbOffset = 0;
    quint32 m_thumbLength = 0;
};
