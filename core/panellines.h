#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

#include "core/cameratable.h"
#include "exif/jpgsize.h"

class ExifData;

// What the information panel shows for one picture: its eighteen lines (index 0 is the
// first line) and the zoom slider.
struct PanelContent {
    static constexpr int kLineCount = 18;

    QStringList lines = QStringList(kLineCount);
    bool sliderVisible = false;
    int sliderMinimum = 5;
    int sliderMaximum = 5;
    int sliderValue = 5;
};

// The panel for a file whose Exif header was read: shooting data from `exif`, file length in
// bytes, focal-length lines from the camera table.
PanelContent exifPanelContent(const ExifData &exif, qint64 fileSize, const CameraTable &table);

// The panel for a file without Exif data: its modification time (in the locale's short date
// and time form), its pixel size and its length; the other lines show their captions alone.
PanelContent plainPanelContent(const QDateTime &modified, const JpegSize &size, qint64 fileSize,
                               const QLocale &locale = QLocale::system());

// Everything the panel shows for the picture at `path`, read from the file itself. `tag` is
// the list item's tag (the pixel size a drawn item was listed with); without a valid tag the
// pixel size comes from the file's frame header. No value when the file does not exist.
std::optional<PanelContent> panelContentForFile(const QString &path, const QString &tag,
                                                const CameraTable &table,
                                                const QLocale &locale = QLocale::system());

// The list item tag of a drawn picture: width and height as five digits each (a value of six
// digits or more keeps its last five).
QString sizeTag(qint32 width, qint32 height);
// Reads a tag back; no value unless it is ten digits.
std::optional<JpegSize> sizeFromTag(const QString &tag);

// The file-size line: the length in KB (1024 bytes), halves rounded up.
QString fileSizeLine(qint64 fileSize);

// Status panel 2: whether the picture is public or private (hidden).
QString visibilityText(bool hidden);
