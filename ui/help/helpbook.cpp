#include "ui/help/helpbook.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

namespace
{
// Reads the entries of one <ul> (the reader stands on its start tag).
QList<HelpEntry> readList(QXmlStreamReader &xml)
{
    QList<HelpEntry> entries;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("li")) {
            xml.skipCurrentElement();
            continue;
        }
        HelpEntry entry;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("a")) {
                entry.target = xml.attributes().value(QLatin1String("href")).toString();
                entry.reading = xml.attributes().value(QLatin1String("title")).toString();
                entry.title =
                    xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            } else if (xml.name() == QLatin1String("ul")) {
                entry.children = readList(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
        if (!entry.target.isEmpty())
            entries.append(entry);
    }
    return entries;
}

// The first <ul> of the page with class "entries".
QList<HelpEntry> readEntryPage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("ul") &&
            xml.attributes().value(QLatin1String("class")) == QLatin1String("entries")) {
            QList<HelpEntry> entries = readList(xml);
            return xml.hasError() ? QList<HelpEntry>() : entries;
        }
    }
    return {};
}

QMap<int, QString> readMap(const QString &path)
{
    QMap<int, QString> map;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return map;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok = false;
        const int context = fields.value(0).toInt(&ok);
        if (ok && fields.size() == 2)
            map.insert(context, fields[1]);
    }
    return map;
}
} // namespace

HelpBook::HelpBook(const QString &folder)
    : m_folder(folder),
      m_contents(readEntryPage(QDir(folder).filePath(QStringLiteral("contents.html")))),
      m_index(readEntryPage(QDir(folder).filePath(QStringLiteral("index.html")))),
      m_map(readMap(QDir(folder).filePath(QStringLiteral("map.txt"))))
{
}

int HelpBook::indexPositionOf(const QString &keyword) const
{
    for (int i = 0; i < m_index.size(); ++i) {
        if (m_index[i].title.startsWith(keyword, Qt::CaseInsensitive) ||
            (!keyword.isEmpty() && m_index[i].reading.startsWith(keyword, Qt::CaseInsensitive)))
            return i;
    }
    return -1;
}

QString HelpBook::firstTopic() const
{
    return m_contents.isEmpty() ? QString() : m_contents.first().target;
}
