#include "tests/support/tiffbuilder.h"

#include "exif/exiftags.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace
{

constexpr quint32 kHeaderSize = 8;

quint32 directorySize(qsizetype entries)
{
    return static_cast<quint32>(2 + 12 * entries + 4);
}

} // namespace

QByteArray TiffBuilder::u16(quint16 value) const
{
    QByteArray bytes(2, '\0');
    if (m_order == ByteOrder::BigEndian)
        qToBigEndian(value, bytes.data());
    else
        qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray TiffBuilder::u32(quint32 value) const
{
    QByteArray bytes(4, '\0');
    if (m_order == ByteOrder::BigEndian)
        qToBigEndian(value, bytes.data());
    else
        qToLittleEndian(value, bytes.data());
    return bytes;
}

TiffBuilder &TiffBuilder::add(Ifd ifd, Entry entry)
{
    m_entries[ifd].push_back(std::move(entry));
    return *this;
}

TiffBuilder &TiffBuilder::ascii(Ifd ifd, quint16 tag, const QByteArray &text)
{
    const QByteArray data = text + '\0';
    return add(ifd, {tag, TiffType::Ascii, static_cast<quint32>(data.size()), data, {}});
}

TiffBuilder &TiffBuilder::shortValue(Ifd ifd, quint16 tag, quint16 value)
{
    return add(ifd, {tag, TiffType::Short, 1, u16(value), {}});
}

TiffBuilder &TiffBuilder::longValue(Ifd ifd, quint16 tag, quint32 value)
{
    return add(ifd, {tag, TiffType::Long, 1, u32(value), {}});
}

TiffBuilder &TiffBuilder::rational(Ifd ifd, quint16 tag, qint32 numerator, qint32 denominator)
{
    const QByteArray data =
        u32(static_cast<quint32>(numerator)) + u32(static_cast<quint32>(denominator));
    return add(ifd, {tag, TiffType::SRational, 1, data, {}});
}

TiffBuilder &TiffBuilder::undefined(Ifd ifd, quint16 tag, const QByteArray &data)
{
    return add(ifd, {tag, TiffType::Undefined, static_cast<quint32>(data.size()), data, {}});
}

TiffBuilder &TiffBuilder::field(Ifd ifd, quint16 tag, quint16 type, quint32 count, quint32 value)
{
    return add(ifd, {tag, type, count, {}, value});
}

TiffBuilder &TiffBuilder::thumbnail(const QByteArray &data)
{
    m_thumbnail = data;
    return *this;
}

TiffBuilder &TiffBuilder::ifd1Offset(quint32 offset)
{
    m_ifd1Offset = offset;
    return *this;
}

TiffBuilder &TiffBuilder::byteOrderMark(const QByteArray &mark)
{
    m_byteOrderMark = mark;
    return *this;
}

QByteArray TiffBuilder::tiff() const
{
    std::vector<Entry> ifds[3] = {m_entries[Ifd0], m_entries[ExifIfd], m_entries[Ifd1]};
    const bool hasExifIfd = !ifds[ExifIfd].empty();
    const bool hasIfd1 = !ifds[Ifd1].empty() || !m_thumbnail.isEmpty();
    if (hasExifIfd)
        ifds[Ifd0].push_back({ExifTag::ExifIfdPointer, TiffType::Long, 1, {}, 0});
    if (!m_thumbnail.isEmpty()) {
        ifds[Ifd1].push_back({ExifTag::JpegInterchangeFormat, TiffType::Long, 1, {}, 0});
        ifds[Ifd1].push_back({ExifTag::JpegInterchangeFormatLength,
                              TiffType::Long,
                              1,
                              {},
                              static_cast<quint32>(m_thumbnail.size())});
    }

    const quint32 ifd0At = kHeaderSize;
    const quint32 exifAt = ifd0At + directorySize(ifds[Ifd0].size());
    const quint32 ifd1At = exifAt + (hasExifIfd ? directorySize(ifds[ExifIfd].size()) : 0);
    quint32 dataAt = ifd1At + (hasIfd1 ? directorySize(ifds[Ifd1].size()) : 0);
    for (const auto &ifd : ifds)
        for (const Entry &entry : ifd)
            if (!entry.rawField && entry.data.size() > 4)
                dataAt += static_cast<quint32>(entry.data.size() + entry.data.size() % 2);
    const quint32 thumbnailAt = dataAt;
    if (hasExifIfd)
        ifds[Ifd0].back().rawField = exifAt;
    if (!m_thumbnail.isEmpty())
        ifds[Ifd1][ifds[Ifd1].size() - 2].rawField = thumbnailAt;

    QByteArray out = m_byteOrderMark.value_or(m_order == ByteOrder::BigEndian ? "MM" : "II");
    out += u16(42) + u32(ifd0At);
    QByteArray values;
    quint32 valueAt = ifd1At + (hasIfd1 ? directorySize(ifds[Ifd1].size()) : 0);
    const auto writeDirectory = [&](const std::vector<Entry> &entries, quint32 next) {
        out += u16(static_cast<quint16>(entries.size()));
        for (const Entry &entry : entries) {
            out += u16(entry.tag) + u16(entry.type) + u32(entry.count);
            if (entry.rawField) {
                out += u32(*entry.rawField);
            } else if (entry.data.size() <= 4) {
                out += entry.data + QByteArray(4 - entry.data.size(), '\0');
            } else {
                out += u32(valueAt);
                const QByteArray padded = entry.data + QByteArray(entry.data.size() % 2, '\0');
                values += padded;
                valueAt += static_cast<quint32>(padded.size());
            }
        }
        out += u32(next);
    };
    writeDirectory(ifds[Ifd0], m_ifd1Offset.value_or(hasIfd1 ? ifd1At : 0));
    if (hasExifIfd)
        writeDirectory(ifds[ExifIfd], 0);
    if (hasIfd1)
        writeDirectory(ifds[Ifd1], 0);
    return out + values + m_thumbnail;
}

QByteArray TiffBuilder::jpeg() const
{
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff();
    QByteArray length(2, '\0');
    qToBigEndian(static_cast<quint16>(qMin<qsizetype>(body.size() + 2, 0xFFFF)), length.data());
    return QByteArray("\xFF\xD8\xFF\xE1", 4) + length + body + QByteArray("\xFF\xD9", 2);
}

QString writeTestFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
