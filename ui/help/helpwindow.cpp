#include "ui/help/helpwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace
{
constexpr int targetRole = Qt::UserRole;

QString withoutAnchor(const QString &target)
{
    return target.section(QLatin1Char('#'), 0, 0);
}
} // namespace

HelpWindow::HelpWindow(const QString &helpFolder, QWidget *parent)
    : QWidget(parent, Qt::Window), m_book(helpFolder)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tabilo ﾍﾙﾌﾟ"));

    m_contentsTree = new QTreeWidget;
    m_contentsTree->setObjectName(QStringLiteral("contentsTree"));
    m_contentsTree->setHeaderHidden(true);
    connect(m_contentsTree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { showTopic(item->data(0, targetRole).toString()); });

    m_keyword = new QLineEdit;
    m_keyword->setObjectName(QStringLiteral("indexKeyword"));
    m_indexList = new QListWidget;
    m_indexList->setObjectName(QStringLiteral("indexList"));
    auto *showButton = new QPushButton(QStringLiteral("表示(&D)"));
    connect(m_keyword, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_indexList->setCurrentRow(m_book.indexPositionOf(text));
    });
    connect(m_keyword, &QLineEdit::returnPressed, this,
            [this] { followIndexEntry(m_indexList->currentRow()); });
    connect(showButton, &QPushButton::clicked, this,
            [this] { followIndexEntry(m_indexList->currentRow()); });
    connect(m_indexList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { followIndexEntry(m_indexList->row(item)); });

    auto *indexPane = new QWidget;
    auto *indexLayout = new QVBoxLayout(indexPane);
    indexLayout->addWidget(m_keyword);
    indexLayout->addWidget(m_indexList);
    indexLayout->addWidget(showButton, 0, Qt::AlignRight);

    m_panes = new QTabWidget;
    m_panes->setObjectName(QStringLiteral("helpPanes"));
    m_panes->addTab(m_contentsTree, QStringLiteral("目次(&C)"));
    m_panes->addTab(indexPane, QStringLiteral("ｷｰﾜｰﾄﾞ(&N)"));

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({m_book.folder()});
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::sourceChanged);

    auto *splitter = new QSplitter;
    splitter->addWidget(m_panes);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 560});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(860, 620);

    buildContents();
    buildIndex();
}

void HelpWindow::buildContents()
{
    addContentsItems(nullptr, m_book.contents());
    m_contentsTree->expandAll();
}

void HelpWindow::addContentsItems(QTreeWidgetItem *parent, const QList<HelpEntry> &entries)
{
    for (const HelpEntry &entry : entries) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contentsTree);
        item->setText(0, entry.title);
        item->setData(0, targetRole, entry.target);
        addContentsItems(item, entry.children);
    }
}

void HelpWindow::buildIndex()
{
    for (const HelpEntry &entry : m_book.index()) {
        auto *item = new QListWidgetItem(entry.title, m_indexList);
        item->setData(targetRole, entry.target);
    }
}

void HelpWindow::showContents()
{
    m_panes->setCurrentIndex(0);
    if (m_currentTopic.isEmpty() && m_book.isValid())
        showTopic(m_book.firstTopic());
    else if (!m_book.isValid())
        showNotice(QStringLiteral("ﾍﾙﾌﾟﾌｧｲﾙが見つかりません。<br/>") + m_book.folder());
}

bool HelpWindow::showContext(int context)
{
    const QString topic = m_book.topicForContext(context);
    if (topic.isEmpty()) {
        showNotice(QStringLiteral("ﾍﾙﾌﾟ ﾄﾋﾟｯｸ %1 は見つかりません。").arg(context));
        return false;
    }
    showTopic(topic);
    return true;
}

void HelpWindow::showIndex(const QString &keyword)
{
    if (m_currentTopic.isEmpty())
        showContents();
    m_panes->setCurrentIndex(1);
    m_keyword->setText(keyword);
    m_indexList->setCurrentRow(m_book.indexPositionOf(keyword));
    m_keyword->setFocus();
}

void HelpWindow::showTopic(const QString &target)
{
    const QString file = withoutAnchor(target);
    if (!QFileInfo::exists(QDir(m_book.folder()).filePath(file))) {
        showNotice(QStringLiteral("ﾍﾙﾌﾟ ﾄﾋﾟｯｸ %1 は見つかりません。").arg(target));
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(QDir(m_book.folder()).filePath(file))
                             .resolved(QUrl(target.mid(file.size()))));
}

void HelpWindow::showNotice(const QString &text)
{
    m_currentTopic.clear();
    m_browser->setHtml(QStringLiteral("<p>") + text + QStringLiteral("</p>"));
}

void HelpWindow::followIndexEntry(int row)
{
    if (row < 0 || row >= m_book.index().size())
        return;
    showTopic(m_book.index()[row].target);
}

void HelpWindow::sourceChanged(const QUrl &url)
{
    m_currentTopic = url.isLocalFile() ? QFileInfo(url.toLocalFile()).fileName() : QString();
    selectInContents(m_currentTopic);
}

void HelpWindow::selectInContents(const QString &topicFile)
{
    for (QTreeWidgetItemIterator it(m_contentsTree); *it; ++it) {
        if (withoutAnchor((*it)->data(0, targetRole).toString()) == topicFile) {
            m_contentsTree->setCurrentItem(*it);
            return;
        }
    }
}
