#include "core/slideshow/slideprefetch.h"

#include <QFileInfo>

#include "core/slideshow/slidefit.h"
#include "exif/filereadahead.h"
#include "exif/jpegdecode.h"

PreparedSlide prepareSlide(const QString &path, QSize screen, const QColor &background)
{
    PreparedSlide slide;
    const QFileInfo file(path);
    slide.modified = file.lastModified();
    slide.bytes = file.exists() ? file.size() : -1;
    // Many reads in flight, not one after another: on a share each one waits.
    FileReadAhead({path}).waitUntilRead();
    const DecodedJpeg decoded = decodeJpegFileForBox(path, screen);
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

void SlidePrefetch::start(const QString &path, QSize screen, const QColor &background)
{
    if (m_pending.valid() && m_path == path && m_screen == screen && m_background == background)
        return;
    if (m_pending.valid())
        m_pending.wait(); // one worker at a time: the older slide is not wanted any more
    m_path = path;
    m_screen = screen;
    m_background = background;
    m_pending = std::async(std::launch::async, prepareSlide, path, screen, background);
}

PreparedSlide SlidePrefetch::take(const QString &path, QSize screen, const QColor &background)
{
    if (m_pending.valid() && m_path == path && m_screen == screen && m_background == background) {
        PreparedSlide slide = m_pending.get();
        const QFileInfo file(path);
        if (file.exists() && file.size() == slide.bytes && file.lastModified() == slide.modified)
            return slide;
    }
    return prepareSlide(path, screen, background);
}

bool SlidePrefetch::isReady(const QString &path, QSize screen, const QColor &background) const
{
    return m_pending.valid() && m_path == path && m_screen == screen &&
           m_background == background &&
           m_pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}
