#include "core/slideshow/slideprefetch.h"

#include <QFileInfo>

#include "core/slideshow/slidefit.h"
#include "exif/filereadahead.h"
#include "exif/shownpicture.h"

PreparedSlide prepareSlide(const QString &path, QSize screen, const QColor &background,
                           bool autoOrient)
{
    PreparedSlide slide;
    const QFileInfo file(path);
    slide.modified = file.lastModified();
    slide.bytes = file.exists() ? file.size() : -1;
    // Many reads in flight, not one after another: on a share each one waits.
    readIntoPageCache(path, FileReadAhead::MaxBytesPerFile);
    const DecodedJpeg decoded =
        decodeShownJpegFileForBox(path, screen, shownOrientation(path, autoOrient));
    if (decoded.isNull()) {
        slide.outcome = QFileInfo::exists(path) ? PreparedSlide::Outcome::Failed
                                                : PreparedSlide::Outcome::Vanished;
        slide.error = decoded.error;
        return slide;
    }
    slide.natural = decoded.fullSize;
    slide.percent = slideFit(decoded.fullSize, screen).percent;
    slide.picture = composeSlide(decoded.image, decoded.fullSize, screen, background);
    slide.outcome = PreparedSlide::Outcome::Ready;
    return slide;
}

SlidePrefetch::~SlidePrefetch()
{
    if (m_pending.valid())
        m_pending.wait();
}

void SlidePrefetch::start(const QString &path, QSize screen, const QColor &background,
                          bool autoOrient)
{
    if (pendingMatches(path, screen, background, autoOrient))
        return;
    if (m_pending.valid())
        m_pending.wait(); // one worker at a time: the older slide is not wanted any more
    m_path = path;
    m_screen = screen;
    m_background = background;
    m_autoOrient = autoOrient;
    m_pending = std::async(std::launch::async, prepareSlide, path, screen, background, autoOrient);
}

PreparedSlide SlidePrefetch::take(const QString &path, QSize screen, const QColor &background,
                                  bool autoOrient)
{
    if (pendingMatches(path, screen, background, autoOrient)) {
        PreparedSlide slide = m_pending.get();
        const QFileInfo file(path);
        if (file.exists() && file.size() == slide.bytes && file.lastModified() == slide.modified)
            return slide;
    }
    return prepareSlide(path, screen, background, autoOrient);
}

bool SlidePrefetch::isReady(const QString &path, QSize screen, const QColor &background,
                            bool autoOrient) const
{
    return pendingMatches(path, screen, background, autoOrient) &&
           m_pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

bool SlidePrefetch::pendingMatches(const QString &path, QSize screen, const QColor &background,
                                   bool autoOrient) const
{
    return m_pending.valid() && m_path == path && m_screen == screen &&
           m_background == background && m_autoOrient == autoOrient;
}
