#include "ui/help/help.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include "tests/support/qtprinters.h"
#include "ui/help/helpbook.h"
#include "ui/help/helpwindow.h"

namespace
{
QList<HelpWindow *> openHelpWindows()
{
    QList<HelpWindow *> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<HelpWindow *>(window); help && help->isVisible())
            windows.append(help);
    }
    return windows;
}

HelpWindow *theHelpWindow()
{
    const QList<HelpWindow *> windows = openHelpWindows();
    return windows.size() == 1 ? windows.first() : nullptr;
}

class HelpTest : public testing::Test
{
  protected:
    void TearDown() override
    {
        closeAllHelp();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

void writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}
} // namespace

TEST_F(HelpTest, EveryContextNumberHasATopicBesideTheProgram)
{
    const HelpBook book(helpFolder());
    ASSERT_TRUE(book.isValid()) << helpFolder().toStdString();
    for (int context : {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 2000, 3000}) {
        const QString topic = book.topicForContext(context);
        ASSERT_FALSE(topic.isEmpty()) << context;
        EXPECT_TRUE(QFile::exists(QDir(helpFolder()).filePath(topic))) << topic.toStdString();
    }
    EXPECT_TRUE(book.topicForContext(1008).isEmpty());
}

TEST_F(HelpTest, EveryContentsAndIndexLinkLeadsToATopic)
{
    const HelpBook book(helpFolder());
    QList<HelpEntry> entries = book.contents() + book.index();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        entries += entries[i].children;
        const QString file = entries[i].target.section(QLatin1Char('#'), 0, 0);
        EXPECT_TRUE(QFile::exists(QDir(helpFolder()).filePath(file)))
            << entries[i].title.toStdString();
    }
    EXPECT_GT(book.index().size(), 20);
}

TEST_F(HelpTest, OptionsHelpButtonShowsTheViewerPageWithItsContentsEntry)
{
    // The options dialog on its third page asks for the topic, then the contents.
    EXPECT_TRUE(showHelpContext(1002));
    EXPECT_TRUE(showHelpContents());
    HelpWindow *window = theHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->currentTopic(), QStringLiteral("options-viewer.html"));
    EXPECT_EQ(window->findChild<QTabWidget *>()->currentIndex(), 0);
    const QTreeWidgetItem *current = window->findChild<QTreeWidget *>()->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), QStringLiteral("外部ビューア"));
    EXPECT_TRUE(window->findChild<QTextBrowser *>()->toPlainText().contains(
        QStringLiteral("外部ﾋﾞｭｰｱｰの設定")));
}

TEST_F(HelpTest, OneWindowServesEveryCall)
{
    showHelpContext(2000);
    showHelpContext(3000);
    ASSERT_EQ(openHelpWindows().size(), 1);
    EXPECT_EQ(theHelpWindow()->currentTopic(), QStringLiteral("rotate.html"));
}

// Help asked for from a modal dialog takes clicks while the dialog is open.
TEST_F(HelpTest, HelpFromAModalDialogTakesClicks)
{
    QDialog dialog;
    QString clicked;
    QTimer::singleShot(0, &dialog, [&] {
        showHelpContents();
        HelpWindow *window = theHelpWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        auto *tree = window->findChild<QTreeWidget *>();
        QTreeWidgetItem *second = tree->topLevelItem(1);
        const QPoint at = tree->viewport()->mapTo(window, tree->visualItemRect(second).center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        clicked = window->currentTopic();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_FALSE(clicked.isEmpty());
    EXPECT_NE(clicked, QStringLiteral("intro.html"));
}

TEST_F(HelpTest, ContentsAloneOpensTheFirstTopic)
{
    EXPECT_TRUE(showHelpContents());
    ASSERT_NE(theHelpWindow(), nullptr);
    EXPECT_EQ(theHelpWindow()->currentTopic(), QStringLiteral("intro.html"));
}

TEST_F(HelpTest, IndexIsPositionedAtTheKeyword)
{
    EXPECT_TRUE(showHelpIndex(QString()));
    HelpWindow *window = theHelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QTabWidget *>()->currentIndex(), 1);
    auto *list = window->findChild<QListWidget *>();
    EXPECT_EQ(list->currentRow(), 0);

    showHelpIndex(QStringLiteral("かいて"));
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("回転"));
    showHelpIndex(QStringLiteral("exif"));
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Exif"));
    showHelpIndex(QStringLiteral("存在しない言葉"));
    EXPECT_EQ(list->currentRow(), -1);
}

TEST_F(HelpTest, UnknownContextSaysSoInTheWindow)
{
    EXPECT_FALSE(showHelpContext(4242));
    ASSERT_NE(theHelpWindow(), nullptr);
    EXPECT_TRUE(theHelpWindow()->currentTopic().isEmpty());
    EXPECT_TRUE(theHelpWindow()->findChild<QTextBrowser *>()->toPlainText().contains(
        QStringLiteral("4242")));
}

TEST_F(HelpTest, CloseAllHelpClosesEveryHelpWindow)
{
    showHelpContents();
    auto *second = new HelpWindow(helpFolder());
    second->setAttribute(Qt::WA_DeleteOnClose);
    second->show();
    ASSERT_EQ(openHelpWindows().size(), 2);
    closeAllHelp();
    EXPECT_TRUE(openHelpWindows().isEmpty());
    // Help opens again afterwards.
    showHelpContext(1000);
    EXPECT_EQ(openHelpWindows().size(), 1);
}

TEST(HelpBook, MissingFolderKnowsNoTopic)
{
    QTemporaryDir dir;
    const HelpBook book(dir.filePath(QStringLiteral("nowhere")));
    EXPECT_FALSE(book.isValid());
    EXPECT_TRUE(book.topicForContext(1000).isEmpty());
    EXPECT_EQ(book.indexPositionOf(QString()), -1);
}

TEST(HelpBook, ReadsNestedContentsAndSkipsBadMapLines)
{
    QTemporaryDir dir;
    writeFile(
        dir.filePath(QStringLiteral("contents.html")),
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html><body><ul class=\"entries\">"
        "<li><a href=\"a.html\">A</a><ul><li><a href=\"b.html#x\">B <b>b</b></a></li></ul></li>"
        "<li>no link</li></ul></body></html>");
    writeFile(
        dir.filePath(QStringLiteral("map.txt")),
        "# comment\n1000 a.html\nnot-a-number b.html\n2000\n3000 b.html extra\n 3001  b.html \n");
    const HelpBook book(dir.path());
    ASSERT_EQ(book.contents().size(), 1);
    EXPECT_EQ(book.contents()[0].title, QStringLiteral("A"));
    ASSERT_EQ(book.contents()[0].children.size(), 1);
    EXPECT_EQ(book.contents()[0].children[0].title, QStringLiteral("B b"));
    EXPECT_EQ(book.contents()[0].children[0].target, QStringLiteral("b.html#x"));
    EXPECT_EQ(book.topicForContext(1000), QStringLiteral("a.html"));
    EXPECT_TRUE(book.topicForContext(2000).isEmpty());
    EXPECT_TRUE(book.topicForContext(3000).isEmpty());
    EXPECT_EQ(book.topicForContext(3001), QStringLiteral("b.html"));
}

TEST(HelpBook, MalformedContentsPageGivesNoContents)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("contents.html")),
              "<html><body><ul class=\"entries\"><li><a href=\"a.html\">A</a></ul>");
    EXPECT_FALSE(HelpBook(dir.path()).isValid());
}
