#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/scanfolder.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"
#include "ui/rename/frmrename.h"

namespace
{

class Form1FileNames : public testing::Test
{
  protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        appSettings() = AppSettings{};
        m_store = std::make_unique<QSettings>(m_storeFolder.filePath(QStringLiteral("Tabilo.conf")),
                                              QSettings::IniFormat);
        m_form = std::make_unique<Form1>(*m_store);
        appSettings().general.Jpg2Exif = 1;
    }

    void TearDown() override { m_prompts.expectAllAnswered(); }

    void open(const QStringList &names)
    {
        for (const QString &name : names)
            m_folder.addCamera(name);
        m_form->openStartPath(m_folder.path());
    }

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < model().rowCount(); ++row)
            names.append(model().name(row));
        return names;
    }

    void select(const QList<int> &rows)
    {
        m_form->listView()->setCurrentIndex(model().index(rows.first()));
        m_form->ListView1_ItemClick();
        for (const int row : rows)
            m_form->listView()->selectionModel()->select(model().index(row),
                                                         QItemSelectionModel::Select);
    }

    // Types `text` into the label editor of `row` and presses Enter.
    void editLabel(int row, const QString &text)
    {
        m_form->listView()->edit(model().index(row));
        auto *editor = m_form->listView()->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor commits and closes through a queued call
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QByteArray hiddenList() const
    {
        QFile file(m_folder.file(QStringLiteral(".hidden")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    // Drags `urls` over the list and drops them there: whether the list took the drag, and
    // the drop (which reaches only a list that took the drag).
    std::pair<bool, bool> dragAndDrop(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form->listView(), &enter);
        QDropEvent drop(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_form->listView(), &drop);
        return {enter.isAccepted(), enter.isAccepted() && drop.isAccepted()};
    }

    const ThumbnailListModel &model() const { return *m_form->thumbnailModel(); }
    QString panel1() const { return m_form->statusPanel(1)->text(); }

    QTemporaryDir m_storeFolder;
    ScanFolder m_folder;
    RecordingPrompter m_prompts;
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<Form1> m_form;
};

} // namespace

// Pictures made private leave a view of public pictures only; their other attributes stay.
// Made public again in the view of all pictures, every item stays and ".hidden" goes.
TEST_F(Form1FileNames, HideAndShowCountWhatTheyChanged)
{
    appSettings().general.gVisibleMode = 1;
    open({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
          QStringLiteral("d.jpg")});
    ::chmod(QFile::encodeName(m_folder.file(QStringLiteral("d.jpg"))).constData(), 0444);
    select({0, 1, 3});
    m_form->command(QStringLiteral("mnuEditHide"))->trigger();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("c.jpg")});
    EXPECT_EQ(panel1(), QStringLiteral(" 3 ﾌｧｲﾙを非公開画像に設定しました。"));
    EXPECT_EQ(hiddenList(), "a.jpg\nb.jpg\nd.jpg\n");
    EXPECT_FALSE(QFileInfo(m_folder.file(QStringLiteral("d.jpg"))).permissions() &
                 QFile::WriteOwner);

    appSettings().general.gVisibleMode = 0;
    m_form->reloadShownFolder();
    m_form->mnuEditSelAll_Click();
    m_form->toolButton(QStringLiteral("SetVisible"))->trigger();
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(panel1(), QStringLiteral(" 4 ﾌｧｲﾙを公開画像に設定しました。"));
    EXPECT_EQ(hiddenList(), "<none>");
}

// A dot-name cannot be made public: the user is told and the command stops there, from the
// last item up: the items after it stay private, and panel 1 tells no count.
TEST_F(Form1FileNames, ADotNameStopsMakingPublic)
{
    m_folder.write(QStringLiteral(".hidden"), "-a.jpg\nb.jpg\n");
    open({QStringLiteral("-a.jpg"), QStringLiteral(".x.jpg"), QStringLiteral("b.jpg")});
    const QString panelBefore = panel1();
    select({0, 1, 2});
    m_prompts.queueAnswer(PromptAnswer::Ok);
    m_form->command(QStringLiteral("popVisible"))->trigger();
    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].icon, PromptIcon::Critical);
    EXPECT_EQ(m_prompts.requests()[0].title, QStringLiteral("属性の変更失敗"));
    EXPECT_EQ(m_prompts.requests()[0].text, QStringLiteral("属性の変更ができません。中断します。"));
    EXPECT_EQ(panel1(), panelBefore);
    EXPECT_EQ(hiddenList(), "-a.jpg\n");
}

// A ".hidden" that is not a regular file is neither read nor written: the folder opens, and
// each command that needs the list is refused with a message, panel 1 saying so. Pictures
// whose names are not UTF-8 are counted in panel 1.
TEST_F(Form1FileNames, AListThatIsNotARegularFileIsRefused)
{
    ScanFolder elsewhere;
    elsewhere.write(QStringLiteral("pic.jpg"), "picture");
    const QByteArray list = QFile::encodeName(m_folder.file(QStringLiteral(".hidden")));
    ASSERT_EQ(::symlink(QFile::encodeName(elsewhere.file(QStringLiteral("pic.jpg"))), list), 0);
    ::close(::open(QFile::encodeName(m_folder.path()) + "\xff.jpg", O_WRONLY | O_CREAT, 0644));
    open({QStringLiteral("a.jpg")});
    EXPECT_EQ(panel1(), QStringLiteral(
                            " 1 ﾌｧｲﾙを読み込みました。 名前を読めない 1 ﾌｧｲﾙは表示していません。"));

    const QString refused = QStringLiteral(
        "このﾌｫﾙﾀﾞの .hidden は通常のﾌｧｲﾙではないため、読み書きできません。中断します。");
    select({0});
    m_prompts.queueAnswer(PromptAnswer::Ok);
    m_form->command(QStringLiteral("mnuEditHide"))->trigger();
    m_prompts.queueAnswer(PromptAnswer::Ok);
    editLabel(0, QStringLiteral("b"));
    m_prompts.queueAnswer(PromptAnswer::Ok);
    m_form->toolButton(QStringLiteral("Rename"))->trigger();
    ASSERT_EQ(m_prompts.requests().size(), 3);
    EXPECT_EQ(m_prompts.requests()[0].title, QStringLiteral("属性の変更失敗"));
    EXPECT_EQ(m_prompts.requests()[1].title, QStringLiteral("ﾌｧｲﾙ名の変更のｴﾗｰ"));
    EXPECT_EQ(m_prompts.requests()[2].title, QStringLiteral("ﾘﾈｰﾑ"));
    for (const auto &request : m_prompts.requests())
        EXPECT_EQ(request.text, refused);
    EXPECT_EQ(panel1(), QStringLiteral(".hidden が通常のﾌｧｲﾙではないため中断しました。"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("a.jpg")});
    QFile target(elsewhere.file(QStringLiteral("pic.jpg")));
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), "picture");

    // A FIFO is never opened: the folder is read again without waiting for a writer.
    ASSERT_EQ(::unlink(list), 0);
    ASSERT_EQ(::mkfifo(list, 0644), 0);
    m_form->reloadShownFolder();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("a.jpg")});
}

// The edited item is renamed, whichever is selected; refusals say why and keep every name.
TEST_F(Form1FileNames, InPlaceRenameOfTheEditedItem)
{
    QStringList expected = {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                            QStringLiteral("c.jpg"), QStringLiteral("IMG_0001.jpg")};
    m_folder.write(QStringLiteral(".hidden"), "b.jpg\n");
    open(expected);
    select({0});
    const QString cannot = QStringLiteral("c.jpgの名前を変更できません。");
    struct Case {
        int row;
        QString text;
        QString renamedTo; // empty: every name stays
        std::optional<QString> message;
        QString panel;
    };
    const QString done = QStringLiteral("ﾌｧｲﾙ名を変更しました。");
    const QString notDone = QStringLiteral("ﾌｧｲﾙ名は変更されませんでした。");
    const Case cases[] = {
        {3, QStringLiteral("trip"), QStringLiteral("trip.jpg"), std::nullopt, done},
        {1, QStringLiteral("B2.JPG"), QStringLiteral("B2.JPG"), std::nullopt, done},
        {2,
         QStringLiteral("a"),
         {},
         cannot + QStringLiteral(" \r\n\r\na.jpgは既に存在します"),
         notDone},
        {2,
         QStringLiteral("x:y"),
         {},
         cannot + QStringLiteral("\r\n\r\n \\ / : , ; * ? \" < > | は使用できません。 "),
         notDone},
        {2,
         QStringLiteral(".c"),
         {},
         cannot + QStringLiteral("\r\n\r\n パス名が正しくありません。"),
         notDone},
        {2, QStringLiteral("c"), {}, std::nullopt, QStringLiteral("ﾌｧｲﾙ名を変更できます。")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        m_prompts.clear();
        if (c.message)
            m_prompts.queueAnswer(PromptAnswer::Ok);
        editLabel(c.row, c.text);
        if (!c.renamedTo.isEmpty())
            expected[c.row] = c.renamedTo;
        EXPECT_EQ(listed(), expected);
        for (const QString &name : expected)
            EXPECT_TRUE(QFile::exists(m_folder.file(name))) << name.toStdString();
        ASSERT_EQ(m_prompts.requests().size(), c.message ? 1 : 0);
        if (c.message) {
            EXPECT_EQ(m_prompts.requests()[0].title, QStringLiteral("ﾌｧｲﾙ名の変更のｴﾗｰ"));
            EXPECT_EQ(m_prompts.requests()[0].text, *c.message);
        }
        EXPECT_EQ(panel1(), c.panel);
    }
    EXPECT_EQ(hiddenList(), "B2.JPG\n"); // the private picture stayed private

    select({2});
    m_form->command(QStringLiteral("mnuFileRenameOrigin"))->trigger();
    auto *editor = m_form->listView()->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("c.jpg"));
}

// A folder opens itself and a picture its folder; web links and missing paths are refused.
TEST_F(Form1FileNames, DropsOpenLocalFoldersOnly)
{
    open({QStringLiteral("a.jpg")});
    ScanFolder other;
    other.addCamera(QStringLiteral("x.jpg"));
    other.addCamera(QStringLiteral("y.jpg"));
    const QUrl web(QStringLiteral("https://example.com/a.jpg"));
    const QUrl missing = QUrl::fromLocalFile(other.file(QStringLiteral("no.jpg")));
    EXPECT_EQ(dragAndDrop({web}), std::make_pair(false, false));
    EXPECT_EQ(dragAndDrop({missing}), std::make_pair(true, false));

    for (const QString &dropped : {other.path(), other.file(QStringLiteral("y.jpg"))}) {
        SCOPED_TRACE(dropped.toStdString());
        m_form->openStartPath(m_folder.path());
        ASSERT_EQ(listed().size(), 1);
        EXPECT_EQ(dragAndDrop({web, QUrl::fromLocalFile(dropped)}), std::make_pair(true, true));
        QCoreApplication::processEvents(); // the folder is read once the drop is over
        EXPECT_EQ(listed().size(), 2);
        EXPECT_EQ(m_form->shownFolder(), other.path());
    }
}

// The toolbar's rename runs the dialog over the list and counts in panel 1.
TEST_F(Form1FileNames, RenameToShootingDateCountsInPanel1)
{
    open({QStringLiteral("a.jpg")});
    QTimer::singleShot(0, [this] {
        m_form->findChild<frmRename *>()->findChild<QPushButton *>("RenOKbtn")->click();
    });
    m_form->toolButton(QStringLiteral("Rename"))->trigger();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("20040506_070809.jpg")});
    EXPECT_EQ(panel1(), QStringLiteral("1 ﾌｧｲﾙをﾘﾈｰﾑしました。"));
}
