#pragma once

#include <QWidget>

#include "ui/help/helpbook.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

// The help window: a contents pane (contents tree and keyword index) beside
// the topic, shown in a text browser.
class HelpWindow : public QWidget
{
    Q_OBJECT

  public:
    explicit HelpWindow(const QString &helpFolder, QWidget *parent = nullptr);

    const HelpBook &book() const { return m_book; }

    // Shows the contents pane; a window that shows no topic yet opens the first one.
    void showContents();
    // Shows the topic of a context number, or says that the help has none.
    bool showContext(int context);
    // Shows the index pane positioned at the first keyword starting with `keyword`.
    void showIndex(const QString &keyword);
    // Shows a topic (a file of the help folder, with an optional "#anchor").
    void showTopic(const QString &target);

    // The topic file shown now (without anchor), empty when none is.
    QString currentTopic() const { return m_currentTopic; }

  private:
    void buildContents();
    void buildIndex();
    void addContentsItems(QTreeWidgetItem *parent, const QList<HelpEntry> &entries);
    void selectInContents(const QString &topicFile);
    void showNotice(const QString &text);
    void followIndexEntry(int row);
    void sourceChanged(const QUrl &url);

    HelpBook m_book;
    QTabWidget *m_panes = nullptr;
    QTreeWidget *m_contentsTree = nullptr;
    QLineEdit *m_keyword = nullptr;
    QListWidget *m_indexList = nullptr;
    QTextBrowser *m_browser = nullptr;
    QString m_currentTopic;
};
