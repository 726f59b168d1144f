#pragma once

#include <functional>
#include <vector>

#include <QAbstractListModel>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

#include "core/scan/thumbnailcache.h"

// The list pictures behind the main list, one row per listed file in scan
// order. Each picture is kept compressed (the Exif thumbnail as the camera
// wrote it, or one drawn here, upright or from the full picture, as a small
// JPEG) and decoded when a view asks for it, through a cache of bounded size,
// so a folder of ten thousand pictures costs a few kilobytes per picture.
//
// Roles: DisplayRole and EditRole the file name, ForegroundRole the text
// colour (Exif or not), DecorationRole a QImage at imageSize(), TagRole the
// ten size digits of drawn pictures, FromExifRole whether the Exif thumbnail
// was used, GhostedRole whether the file changed since the scan (its text and
// picture are then shown dimmed, as the picture is stale until the folder is
// read again).
//
// A view should set uniform item sizes (QListView::setUniformItemSizes), so
// that laying out the list asks for one picture, not for every row's.
class ThumbnailListModel : public QAbstractListModel
{
    Q_OBJECT

  public:
    enum Role { TagRole = Qt::UserRole + 1, FromExifRole, GhostedRole };

    // Turns a kept picture back into an image of exactly `size`; null on failure.
    using Decode = std::function<QImage(const QByteArray &jpeg, QSize size)>;

    static constexpr qint64 defaultCacheBytes = 16 * 1024 * 1024;

    explicit ThumbnailListModel(Decode decode, qint64 cacheBytes = defaultCacheBytes,
                                QObject *parent = nullptr);

    // Image size of the list pictures (gThumbSize). Changing it empties the cache.
    void setImageSize(QSize size);
    QSize imageSize() const { return m_imageSize; }
    void setTextColors(const QColor &exifColor, const QColor &notExifColor);

    // Removes every row.
    void clear();
    // Adds a row at the end. `image` (optional, at imageSize()) seeds the cache.
    void append(const QString &name, bool fromExif, const QString &tag, const QByteArray &jpeg,
                const QImage &image = {});

    QString name(int row) const;
    QString tag(int row) const;
    bool isFromExif(int row) const;
    // The row whose file name is `name` exactly (the item's key), or -1.
    int rowOfName(const QString &name) const;
    // New file name of a row after an in-place rename.
    void setName(int row, const QString &name);
    // Marks a row whose file was changed in place (turned) since the scan.
    void setGhosted(int row);
    bool isGhosted(int row) const;
    // Shows a row's text in the complement of its colour (each channel 255
    // less its value), marking an entry left out of a command; twice restores it.
    void invertTextColor(int row);

    // The row's picture, decoded on demand.
    QImage picture(int row) const;

    // Bytes held by the kept compressed pictures (not the cache).
    qint64 compressedBytes() const { return m_compressedBytes; }
    const ThumbnailCache &cache() const { return m_cache; }

    int rowCount(const QModelIndex &parent = {}) const override;
    // Labels can be edited in place; the editor renames the file and then calls setName.
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

  private:
    struct Row {
        QString name;
        QString tag;
        QByteArray jpeg;
        quint64 key; // the row's cache key; stays when rows before it are removed
        bool fromExif;
        bool ghosted = false;
        bool textInverted = false;
    };

    QColor textColor(const Row &entry) const;

    bool validRow(int row) const { return row >= 0 && row < int(m_rows.size()); }

    Decode m_decode;
    QSize m_imageSize{160, 120};
    QColor m_exifColor{Qt::black};
    QColor m_notExifColor{Qt::red};
    std::vector<Row> m_rows;
    quint64 m_nextKey = 0;
    qint64 m_compressedBytes = 0;
    mutable ThumbnailCache m_cache;
};
