#pragma once

#include <optional>

#include <QImage>
#include <QSize>
#include <QString>

// The desktop's shared store of drawn thumbnails, as file managers keep it
// (the freedesktop thumbnail standard): PNG files under large/ named by the MD5
// of the picture's file:// address, each saying which picture it shows and the
// picture's modification time. A thumbnail whose time differs from the
// picture's is out of date and never used. Pictures that could not be drawn
// are remembered under fail/<program>/ so that they are not tried at every
// visit. Safe to use from several threads at once: it keeps no state.
class DesktopThumbnails
{
  public:
    // The longest side of a thumbnail in large/.
    static constexpr int LargeSide = 256;

    // A picture as the store names it, taken from the file as it is now.
    struct Picture {
        QString uri;
        qint64 modified = 0; // seconds since the epoch
        qint64 bytes = 0;
    };

    // `root` is the store's folder ($XDG_CACHE_HOME/thumbnails); `program`
    // names this program's folder of failures ("tabilo-5.7.20").
    DesktopThumbnails(QString root, QString program);

    // $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when it is not set.
    static QString defaultRoot();

    // The picture's name in the store; none when it is not a regular file.
    static std::optional<Picture> describe(const QString &path);

    // An up-to-date thumbnail of the picture, whoever wrote it; null when there
    // is none or it is damaged. `fullSize` receives the picture's size when the
    // thumbnail records it, else stays as it was.
    QImage find(const Picture &picture, QSize *fullSize = nullptr) const;
    // Keeps `thumbnail` (at most LargeSide on its longest side) for the picture.
    bool store(const Picture &picture, const QImage &thumbnail, QSize fullSize) const;

    // Whether this program already failed to draw the picture as it is now.
    bool isKnownFailure(const Picture &picture) const;
    bool storeFailure(const Picture &picture) const;

    // The thumbnail kept for a picture decoded as `image` (at any scale): the
    // whole picture scaled to fit LargeSide; a smaller one keeps its size.
    static QImage largeThumbnail(const QImage &image);

  private:
    bool makeStoreFolder() const;
    QString largePath(const Picture &picture) const;
    QString failurePath(const Picture &picture) const;

    QString m_root;
    QString m_program;
};
