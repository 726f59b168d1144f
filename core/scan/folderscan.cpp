#include "core/scan/folderscan.h"

#include <algorithm>
#include <new>

#include "core/paths.h"
#include "core/scan/thumbnaildecoder.h"
#include "core/scan/thumbnaillistmodel.h"

namespace
{

const QString folderPlace = QStringLiteral("display_th");
const QString badPicturePlace = QStringLiteral("BAD PIC ");
// A picture listed from damaged data: shown as far as it decodes, the damage logged.
const QString damagedPicturePlace = QStringLiteral("WARN PIC ");

} // namespace

QSize thumbnailImageSize(int gThumbSize, QSize previous)
{
    switch (gThumbSize) {
    case 0:
        return {200, 150};
    case 1:
        return {160, 120};
    case 2:
        return {120, 90};
    default:
        return previous;
    }
}

std::optional<int> scanProgressMaximum(int count)
{
    if (count > 2)
        return count - 1;
    return std::nullopt;
}

FolderScan::FolderScan(ThumbnailListModel &model, ThumbnailProduction produce,
                       FolderScanCallbacks callbacks)
    : m_model(model), m_produce(std::move(produce)), m_callbacks(std::move(callbacks))
{
}

FolderScanResult FolderScan::run(const QString &folder, const FolderScanSettings &settings,
                                 const HiddenTest &isHidden)
{
    FolderScanResult result;
    const FolderListing listing =
        listJpegFiles(folder, visibleModeFromSetting(settings.visibleMode), isHidden);
    if (!listing.ok) {
        if (m_callbacks.logError)
            m_callbacks.logError(folderPlace, listing.error);
        return result;
    }
    result.folderRead = true;
    result.folderPath = listing.folderPath;
    result.total = listing.total;
    result.undecodable = listing.undecodable;
    result.count = int(listing.names.size());
    if (m_callbacks.started)
        m_callbacks.started(result.folderPath, result.total, result.count);

    m_model.clear();
    m_model.setImageSize(thumbnailImageSize(settings.thumbSize, m_model.imageSize()));

    const QString shownFolder = withTrailingBackslash(folder);
    QStringList paths;
    paths.reserve(listing.names.size());
    for (const QString &name : listing.names)
        paths.append(shownFolder + name);
    const int workers =
        std::min(result.count,
                 settings.workers >= 0 ? settings.workers : ThumbnailDecoder::defaultWorkerCount());
    ThumbnailDecoder decoder(paths, m_produce, workers);

    bool asked = !settings.offerConversion;
    for (int i = 0; i < result.count; ++i) {
        if (m_callbacks.progress)
            m_callbacks.progress(i);
        const ProducedThumbnail produced = decoder.take(i);
        if (produced.outcome == ProducedThumbnail::Outcome::OutOfMemory) {
            result.outOfMemory = true;
            break;
        }
        if (!produced.fromExif && !asked) {
            asked = true;
            // Converted files are read again as they now are; this file keeps
            // the picture drawn from its full image.
            decoder.hold();
            if (m_callbacks.askConversion && m_callbacks.askConversion())
                decoder.restartFrom(i + 1);
        }
        if (!addItem(listing.names.at(i), produced)) {
            result.outOfMemory = true;
            break;
        }
        if (i % 10 == 0 && m_callbacks.processEventsAndShouldStop &&
            m_callbacks.processEventsAndShouldStop(m_model.rowCount())) {
            result.stopped = true;
            break;
        }
    }
    result.listed = m_model.rowCount();
    return result;
}

// False only when memory ran out while adding the item.
bool FolderScan::addItem(const QString &name, const ProducedThumbnail &produced)
{
    switch (produced.outcome) {
    case ProducedThumbnail::Outcome::Listed:
        try {
            m_model.append(name, produced.fromExif, produced.tag, produced.jpeg, produced.image);
        } catch (const std::bad_alloc &) {
            return false;
        }
        if (produced.damaged && m_callbacks.logError)
            m_callbacks.logError(damagedPicturePlace, produced.error);
        return true;
    case ProducedThumbnail::Outcome::BadPicture:
        if (m_callbacks.logError)
            m_callbacks.logError(badPicturePlace, produced.error);
        return true;
    case ProducedThumbnail::Outcome::Failed:
        if (m_callbacks.logError)
            m_callbacks.logError(folderPlace, produced.error);
        return true;
    case ProducedThumbnail::Outcome::OutOfMemory:
        return false;
    }
    return true;
}
