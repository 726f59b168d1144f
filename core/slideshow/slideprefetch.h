#pragma once

#include <future>

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

// A slide ready to be shown: the picture decoded at the smallest scale the codec offers that
// still covers its drawn size (a 12-megapixel picture on a 1920 x 1080 screen decodes at 3/8),
// shown as its Exif Orientation says when `autoOrient`, composed on the background at the
// screen's size.
struct PreparedSlide {
    enum class Outcome { Ready, Vanished, Failed };
    Outcome outcome = Outcome::Failed;
    QImage picture; // the composed screen; null unless Ready
    QSize natural;  // the picture's own size, as shown
    int percent = 0;
    QString error; // why it failed
    // The file as it was when preparing began: a slide prepared ahead is used only while
    // the file is unchanged.
    QDateTime modified;
    qint64 bytes = -1;
};

// Decodes and composes `path` for a screen of `screen` pixels. A file that is no longer there
// is Vanished; one that cannot be decoded Failed, with the codec's reason.
PreparedSlide prepareSlide(const QString &path, QSize screen, const QColor &background,
                           bool autoOrient);

// Prepares the next slide on a worker thread while the present one shows, so that the step to
// it only has to wait for what is left of the decode.
class SlidePrefetch
{
  public:
    SlidePrefetch() = default;
    ~SlidePrefetch();
    SlidePrefetch(const SlidePrefetch &) = delete;
    SlidePrefetch &operator=(const SlidePrefetch &) = delete;

    // Starts preparing `path` unless the same slide is already pending.
    void start(const QString &path, QSize screen, const QColor &background, bool autoOrient);
    // The slide for `path`: the pending one when it matches and the file has not changed
    // since (waiting for it if needed), otherwise prepared now.
    PreparedSlide take(const QString &path, QSize screen, const QColor &background,
                       bool autoOrient);
    // Whether the pending slide for `path` has been prepared already.
    bool isReady(const QString &path, QSize screen, const QColor &background,
                 bool autoOrient) const;

  private:
    bool pendingMatches(const QString &path, QSize screen, const QColor &background,
                        bool autoOrient) const;

    QString m_path;
    QSize m_screen;
    QColor m_background;
    bool m_autoOrient = false;
    std::future<PreparedSlide> m_pending;
};
