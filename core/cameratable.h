#pragma once

#include <QList>
#include <QString>

// One camera model of "Tabilo.dat": its optical zoom ratio, the real focal length at the
// wide end and that focal length's 35 mm equivalent (for a fixed lens: its equivalent).
struct CameraModel {
    QString name;
    float zoomRatio = 0;
    float wideFocalLength = 0;
    float wideEquivalent = 0;
};

// What the information panel shows for one picture's focal length.
struct FocalLengthDisplay {
    QString focalLengthLine;
    QString zoomLine;
    bool sliderVisible = false;
    int sliderMinimum = 5;
    int sliderMaximum = 5;
    int sliderValue = 5;
};

// The camera model table: a comma-separated file of four-field records (model name, zoom
// ratio, wide-end focal length, wide-end 35 mm equivalent); a field starting with an
// apostrophe is a comment.
class CameraTable
{
  public:
    enum class LoadResult { Loaded, FileMissing, OpenFailed };

    // The table holds at most this many models (the count is a 16-bit number).
    static constexpr int kMaxModels = 32767;

    // Replaces the table with the file's records. A missing file and a file that cannot be
    // opened leave the table empty and are told apart so that the caller can warn or log;
    // malformed content never fails (unconvertible numbers read as 0).
    LoadResult load(const QString &path);
    // Replaces the table with the records of `text` (the file's content).
    void parse(const QString &text);

    // Error number (53 file not found, 75 access error) and description of the last failed
    // load; 0 and empty after a successful one.
    int errorNumber() const { return m_errorNumber; }
    QString errorString() const { return m_errorString; }

    qint16 count() const { return qint16(m_models.size()); }
    const QList<CameraModel> &models() const { return m_models; }

    // Looks `exifModel` (blanks and padding zero bytes around it removed) up and computes the
    // panel's focal-length line, zoom line and slider for `focalLength` mm.
    FocalLengthDisplay lookup(const QString &exifModel, double focalLength) const;

  private:
    QList<CameraModel> m_models;
    int m_errorNumber = 0;
    QString m_errorString;
};

// The two panel lines when no zoom record applies: "f  = <focal length> mm".
FocalLengthDisplay plainFocalLengthDisplay(double focalLength);
