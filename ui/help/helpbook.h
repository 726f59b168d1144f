#pragma once

#include <QList>
#include <QMap>
#include <QString>

// The program's help: the folder help/ beside the program, holding HTML
// topics, a contents page (contents.html), an index page (index.html) and the
// map from context numbers to topics (map.txt, lines "number topic").
// The contents and index pages are well-formed XHTML whose links, in nested
// lists, are read to fill the help window's contents and index panes.

struct HelpEntry {
    QString title;
    QString reading; // index entries: the keyword's reading in kana (the link's title)
    QString target;  // a topic file, with an optional "#anchor"
    QList<HelpEntry> children;
};

class HelpBook
{
  public:
    // Reads the contents, index and map of `folder`. A missing or unreadable
    // part leaves that part empty; isValid() tells whether any topic is known.
    explicit HelpBook(const QString &folder);

    QString folder() const { return m_folder; }
    bool isValid() const { return !m_contents.isEmpty(); }

    const QList<HelpEntry> &contents() const { return m_contents; }
    // Index entries in the page's order (sorted by the reading of their keywords).
    const QList<HelpEntry> &index() const { return m_index; }

    // The topic mapped to a context number, or empty when there is none.
    QString topicForContext(int context) const { return m_map.value(context); }

    // The first index entry whose keyword or reading starts with `keyword`
    // (case ignored), -1 when none does. The empty keyword matches the first entry.
    int indexPositionOf(const QString &keyword) const;

    // The first topic of the contents, the page shown when nothing else is asked for.
    QString firstTopic() const;

  private:
    QString m_folder;
    QList<HelpEntry> m_contents;
    QList<HelpEntry> m_index;
    QMap<int, QString> m_map;
};
