#pragma once

#include <functional>
#include <optional>

#include <QSize>
#include <QString>

#include "core/errorlog.h"
#include "core/scan/folderlisting.h"
#include "core/scan/producedthumbnail.h"

class ThumbnailListModel;

// The list image size for gThumbSize (0 large 200 x 150, 1 standard 160 x 120,
// 2 small 120 x 90); any other value keeps `previous`.
QSize thumbnailImageSize(int gThumbSize, QSize previous);

// The maximum of the scan's progress bar for `count` listed files (its minimum
// is 0); none for one or two files, which show no progress bar.
std::optional<int> scanProgressMaximum(int count);

// The settings a folder scan reads.
struct FolderScanSettings {
    int visibleMode = 0;         // gVisibleMode
    int thumbSize = 1;           // gThumbSize
    bool offerConversion = true; // Jpg2Exif == 0
    int workers = -1;            // worker threads; -1: the default, 0: the caller's thread
};

// How the scan talks to its window. Every member may be left empty.
struct FolderScanCallbacks {
    // After the folder was enumerated: its path as enumerated, the number of
    // "*.jpg" files and the number the visible mode lets through.
    std::function<void(const QString &folderPath, int total, int count)> started;
    // Before file `index` (0-based) of the `count` listed is read.
    std::function<void(int index)> progress;
    // At every tenth file (index 0, 10, 20, ...), after its item: let the
    // window process events (and follow the newest item, `listed` being the
    // number of items so far, 0 when the first files failed: nothing to
    // select then). True when the reading must stop.
    std::function<bool(int listed)> processEventsAndShouldStop;
    // The first file without an Exif thumbnail, once per scan: ask whether to
    // convert the folder, and run the conversion before returning on Yes.
    // True when the folder's files were converted (read again from disk).
    std::function<bool()> askConversion;
    // A trapped error: place label and error record.
    std::function<void(const QString &place, const ErrorRecord &error)> logError;
};

struct FolderScanResult {
    bool folderRead = false; // false: the folder could not be enumerated (logged)
    QString folderPath;      // the folder as enumerated, without trailing "/"
    int total = 0;           // "*.jpg" files in the folder
    int undecodable = 0;     // "*.jpg" files left out: names that are not valid UTF-8
    int count = 0;           // files the visible mode let through
    int listed = 0;          // items added to the list
    bool stopped = false;    // the window asked to stop
    bool outOfMemory = false;
};

// The engine of the folder scan: enumerates the folder, makes each file's list
// picture (the Exif thumbnail when there is one, else the full picture drawn
// to fit, on worker threads ahead of the loop) and fills the model in file
// order, numbering without gaps. Stops are seen only at every tenth file.
//
// The window's part: build the hidden test from the folder's HiddenList and
// dot-names, construct with ThumbnailProducer(imageSize, background) and the
// callbacks (status texts from ScanTexts, QCoreApplication::processEvents and
// keepReading in processEventsAndShouldStop, the conversion dialog in
// askConversion), then show the result's counts and command state.
class FolderScan
{
  public:
    FolderScan(ThumbnailListModel &model, ThumbnailProduction produce,
               FolderScanCallbacks callbacks);

    // `folder` is the shown folder (a trailing "/" is added when missing).
    // `isHidden` answers for that folder's files. When the folder cannot be
    // read, the model keeps its rows and the error is logged as "display_th".
    FolderScanResult run(const QString &folder, const FolderScanSettings &settings,
                         const HiddenTest &isHidden);

  private:
    bool addItem(const QString &name, const ProducedThumbnail &produced);

    ThumbnailListModel &m_model;
    ThumbnailProduction m_produce;
    FolderScanCallbacks m_callbacks;
};
