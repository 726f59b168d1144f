#include "core/scan/thumbnaillistmodel.h"

#include <QPainter>

namespace
{

// How much of a ghosted row's text and picture shows through.
constexpr int kGhostAlpha = 110;

QImage dimmed(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(255, 255, 255, 255 - kGhostAlpha));
    return image;
}

} // namespace

ThumbnailListModel::ThumbnailListModel(Decode decode, qint64 cacheBytes, QObject *parent)
    : QAbstractListModel(parent), m_decode(std::move(decode)), m_cache(cacheBytes)
{
}

void ThumbnailListModel::setImageSize(QSize size)
{
    if (size == m_imageSize)
        return;
    m_imageSize = size;
    m_cache.clear();
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1), {Qt::DecorationRole});
}

void ThumbnailListModel::setTextColors(const QColor &exifColor, const QColor &notExifColor)
{
    m_exifColor = exifColor;
    m_notExifColor = notExifColor;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1), {Qt::ForegroundRole});
}

void ThumbnailListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_cache.clear();
    m_compressedBytes = 0;
    endResetModel();
}

void ThumbnailListModel::append(const QString &name, bool fromExif, const QString &tag,
                                const QByteArray &jpeg, const QImage &image)
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    const quint64 key = m_nextKey++;
    m_rows.push_back(Row{name, tag, jpeg, key, fromExif});
    m_compressedBytes += jpeg.size();
    if (!image.isNull() && image.size() == m_imageSize)
        m_cache.insert(key, image);
    endInsertRows();
}

QString ThumbnailListModel::name(int row) const
{
    return validRow(row) ? m_rows[row].name : QString();
}

QString ThumbnailListModel::tag(int row) const
{
    return validRow(row) ? m_rows[row].tag : QString();
}

bool ThumbnailListModel::isFromExif(int row) const
{
    return validRow(row) && m_rows[row].fromExif;
}

int ThumbnailListModel::rowOfName(const QString &name) const
{
    for (int row = 0; row < int(m_rows.size()); ++row) {
        if (m_rows[row].name == name)
            return row;
    }
    return -1;
}

void ThumbnailListModel::setName(int row, const QString &name)
{
    if (!validRow(row))
        return;
    m_rows[row].name = name;
    Q_EMIT dataChanged(index(row), index(row), {Qt::DisplayRole, Qt::EditRole});
}

void ThumbnailListModel::setGhosted(int row)
{
    if (!validRow(row) || m_rows[row].ghosted)
        return;
    m_rows[row].ghosted = true;
    Q_EMIT dataChanged(index(row), index(row),
                       {Qt::ForegroundRole, Qt::DecorationRole, GhostedRole});
}

bool ThumbnailListModel::isGhosted(int row) const
{
    return validRow(row) && m_rows[row].ghosted;
}

void ThumbnailListModel::invertTextColor(int row)
{
    if (!validRow(row))
        return;
    m_rows[row].textInverted = !m_rows[row].textInverted;
    Q_EMIT dataChanged(index(row), index(row), {Qt::ForegroundRole});
}

QColor ThumbnailListModel::textColor(const Row &entry) const
{
    QColor color = entry.fromExif ? m_exifColor : m_notExifColor;
    if (entry.textInverted)
        color = QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    if (entry.ghosted)
        color.setAlpha(kGhostAlpha);
    return color;
}

QImage ThumbnailListModel::picture(int row) const
{
    if (!validRow(row))
        return {};
    const Row &entry = m_rows[row];
    QImage image = m_cache.find(entry.key);
    if (!image.isNull())
        return image;
    if (m_decode)
        image = m_decode(entry.jpeg, m_imageSize);
    if (image.isNull()) {
        // A picture that decoded during the scan but not now (the scan checked
        // it): show the empty frame rather than nothing.
        image = QImage(m_imageSize, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    m_cache.insert(entry.key, image);
    return image;
}

Qt::ItemFlags ThumbnailListModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractListModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsEditable : base;
}

int ThumbnailListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ThumbnailListModel::data(const QModelIndex &index, int role) const
{
    if (index.parent().isValid() || !validRow(index.row()))
        return {};
    const Row &entry = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.name;
    case Qt::ForegroundRole:
        return textColor(entry);
    case Qt::DecorationRole:
        return entry.ghosted ? dimmed(picture(index.row())) : picture(index.row());
    case TagRole:
        return entry.tag;
    case FromExifRole:
        return entry.fromExif;
    case GhostedRole:
        return entry.ghosted;
    default:
        return {};
    }
}

bool ThumbnailListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count <= 0 || row < 0 || count > int(m_rows.size()) - row)
        return false;
    beginRemoveRows({}, row, row + count - 1);
    for (int i = row; i < row + count; ++i) {
        m_cache.remove(m_rows[i].key);
        m_compressedBytes -= m_rows[i].jpeg.size();
    }
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}
