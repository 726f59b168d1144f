#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "exif/exifdata.h"
#include "platform/fileattributes.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/scanfolder.h"
#include "tests/support/writefixtures.h"
#include "ui/frminfo.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"
#include "ui/options/frmopt1.h"
#include "ui/viewer/frmpictex.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>
#include <optional>

namespace
{

const QString kQuestionTitle = QStringLiteral("JPG→Exif変換");
const QString kQuestionText = QStringLiteral(
    "ﾌｫﾙﾀﾞ内に非Exifﾌｧｲﾙがあります｡\r\rExifﾌｧｲﾙに変換すると次回からの読み込みが格段に速く"
    "なります｡\r\r後で手動で変換することも可能です｡\r\r今、変換しますか？");

QStringList names(const ThumbnailListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.name(row));
    return result;
}

QStringList loggedLines(const Form1 &form)
{
    QStringList result;
    const QListWidget *lines = form.frmInfo()->lines();
    for (int i = 0; i < lines->count(); ++i)
        result.append(lines->item(i)->text());
    return result;
}

// Lets events run until `condition` holds or `milliseconds` pass.
bool waitFor(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    return condition();
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Runs `answer` on the next modal dialog once it is shown (the scan waits inside exec()).
void answerNextModalDialog(const std::function<void(QWidget *)> &answer)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, poll] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            answer(dialog);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

class Form1ScanTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(m_storeFolder.isValid());
        appSettings() = AppSettings{};
        m_store = std::make_unique<QSettings>(m_storeFolder.filePath(QStringLiteral("Tabilo.conf")),
                                              QSettings::IniFormat);
        m_form = std::make_unique<Form1>(*m_store);
        appSettings().general.Jpg2Exif = 1; // no question unless a test asks for it
    }

    void TearDown() override
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmPictEX *>(window))
                window->close();
        }
        m_prompts.expectAllAnswered();
    }

    Form1 &form() { return *m_form; }
    const ThumbnailListModel &model() { return *m_form->thumbnailModel(); }
    QString panel(int index) { return m_form->statusPanel(index)->text(); }

    void scan(const ScanFolder &folder)
    {
        // File > Open on any picture of the folder, as the user does it.
        m_prompts.queueOpenFile(folder.file(QStringLiteral("any.jpg")));
        form().command(QStringLiteral("mnuFileOpen"))->trigger();
    }

    void addPlainFiles(const ScanFolder &folder, int count)
    {
        for (int i = 0; i < count; ++i)
            folder.addPlain(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    }

    void addCameraFiles(const ScanFolder &folder, int count)
    {
        for (int i = 0; i < count; ++i)
            folder.addCamera(QStringLiteral("c%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    }

    QTemporaryDir m_storeFolder;
    RecordingPrompter m_prompts;
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<Form1> m_form;
};

} // namespace

TEST_F(Form1ScanTest, EmptyFolderShowsNoPictureState)
{
    ScanFolder folder;
    bool progressShown = false;
    QObject::connect(&form(), &Form1::scanProgress, [&] { progressShown = true; });
    scan(folder);

    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_EQ(panel(5), QStringLiteral("0 / 0 ﾌｧｲﾙ"));
    EXPECT_EQ(panel(1), QStringLiteral(" 0 ﾌｧｲﾙを読み込みました。"));
    EXPECT_EQ(form().commandState(), 5);
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(form().progressBar()->isVisible());
    EXPECT_FALSE(form().keepReading());
    EXPECT_TRUE(form().listView()->acceptDrops());
}

TEST_F(Form1ScanTest, OpenSetsShownFolderFilePathAndCaption)
{
    ScanFolder folder;
    addCameraFiles(folder, 2);
    scan(folder);

    ASSERT_EQ(m_prompts.requests().size(), 1);
    const RecordingPrompter::Request &chooser = m_prompts.requests()[0];
    EXPECT_EQ(chooser.kind, RecordingPrompter::Kind::OpenFile);
    EXPECT_TRUE(chooser.filter.contains(QStringLiteral("画像ﾌｧｲﾙ")));
    EXPECT_TRUE(chooser.filter.contains(QStringLiteral("*.jpg")));

    const QString withoutSlash = folder.path().chopped(1);
    EXPECT_EQ(form().shownFolder(), folder.path());
    EXPECT_EQ(appSettings().filePath, withoutSlash);
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Tabilo - ") + withoutSlash);
    EXPECT_EQ(names(model()), QStringList({"c00.jpg", "c01.jpg"}));
    EXPECT_TRUE(model().isFromExif(0));
    EXPECT_EQ(model().data(model().index(0), Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::black));
    EXPECT_EQ(model().imageSize(), QSize(160, 120));
    EXPECT_EQ(panel(1), QStringLiteral(" 2 ﾌｧｲﾙを読み込みました。"));
    EXPECT_EQ(panel(5), QStringLiteral("2 / 2 ﾌｧｲﾙ"));
    EXPECT_EQ(form().commandState(), 3);
    EXPECT_EQ(form().listView()->selectionMode(), QAbstractItemView::ExtendedSelection);

    // The next File > Open starts in the folder just read.
    m_prompts.queueOpenFile(QString());
    form().command(QStringLiteral("mnuFileOpen"))->trigger();
    EXPECT_EQ(m_prompts.requests().last().startFolder, withoutSlash);
}

TEST_F(Form1ScanTest, CancelledOpenChangesNothing)
{
    ScanFolder folder;
    addCameraFiles(folder, 1);
    scan(folder);
    const QString caption = form().windowTitle();

    m_prompts.queueOpenFile(QString());
    form().command(QStringLiteral("mnuFileOpen"))->trigger();
    EXPECT_EQ(form().shownFolder(), folder.path());
    EXPECT_EQ(form().windowTitle(), caption);
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_FALSE(form().keepReading());
    EXPECT_EQ(form().commandState(), 3);
}

TEST_F(Form1ScanTest, ProgressBarOnlyFromThreeFiles)
{
    for (int files : {2, 3}) {
        ScanFolder folder;
        addCameraFiles(folder, files);
        bool shown = false;
        int maximum = -1;
        QList<int> values;
        const auto connection = QObject::connect(&form(), &Form1::scanProgress, [&](int index) {
            shown = form().progressBar()->isVisible();
            maximum = form().progressBar()->maximum();
            values.append(form().progressBar()->value());
            EXPECT_EQ(panel(5), QStringLiteral("%1 / %2 ﾌｧｲﾙ").arg(index).arg(files));
            EXPECT_EQ(panel(1), QStringLiteral("[ESC]ｷｰで中断できます。"));
            EXPECT_EQ(form().commandState(), 2);
        });
        scan(folder);
        QObject::disconnect(connection);

        EXPECT_EQ(shown, files == 3) << files;
        if (files == 3) {
            EXPECT_EQ(form().progressBar()->minimum(), 0);
            EXPECT_EQ(maximum, 2);
            EXPECT_EQ(values, QList<int>({0, 1, 2}));
        }
        EXPECT_FALSE(form().progressBar()->isVisible());
    }
}

TEST_F(Form1ScanTest, DuringAScanOnlyStopWorks)
{
    ScanFolder folder;
    addCameraFiles(folder, 3);
    QStringList enabledButtons;
    bool anyMenuEnabled = false;
    bool listShown = true;
    bool dropsAccepted = true;
    QObject::connect(&form(), &Form1::scanProgress, [&](int index) {
        if (index != 1)
            return;
        for (QAction *button : form().toolBar()->actions()) {
            if (!button->isSeparator() && button->isEnabled())
                enabledButtons.append(button->data().toString());
        }
        for (const char *menu : {"mnuFile", "mnuEdit", "mnuHelp"})
            anyMenuEnabled =
                anyMenuEnabled || form().command(QString::fromLatin1(menu))->isEnabled();
        listShown = form().listView()->isVisible();
        dropsAccepted = form().listView()->acceptDrops();
    });
    scan(folder);

    EXPECT_EQ(enabledButtons, QStringList({"Stop"}));
    EXPECT_FALSE(anyMenuEnabled);
    EXPECT_FALSE(listShown); // gNoVisible 1 hides the list while it fills
    EXPECT_FALSE(dropsAccepted);
    EXPECT_TRUE(form().listView()->isVisible());
    EXPECT_TRUE(form().toolButton(QStringLiteral("Reload"))->isEnabled());
    EXPECT_TRUE(form().toolButton(QStringLiteral("SelAll"))->isEnabled());
    EXPECT_FALSE(form().toolButton(QStringLiteral("jpg2Exif"))->isEnabled());
    EXPECT_FALSE(form().toolButton(QStringLiteral("Stop"))->isEnabled());
}

TEST_F(Form1ScanTest, PublicOnlyModeListsSevenOfTen)
{
    ScanFolder folder;
    addCameraFiles(folder, 10);
    for (const char *name : {"c02.jpg", "c05.jpg", "c09.jpg"})
        ASSERT_EQ(
            setAttributes(folder.file(QString::fromLatin1(name)), FileAttribute::Hidden).number, 0);
    appSettings().general.gVisibleMode = 1;
    scan(folder);
    EXPECT_EQ(model().rowCount(), 7);
    EXPECT_FALSE(names(model()).contains(QStringLiteral("c05.jpg")));
    EXPECT_EQ(panel(5), QStringLiteral("7 / 10 ﾌｧｲﾙ"));

    appSettings().general.gVisibleMode = 2;
    form().toolButton(QStringLiteral("Reload"))->trigger();
    EXPECT_EQ(names(model()), QStringList({"c02.jpg", "c05.jpg", "c09.jpg"}));
    EXPECT_EQ(panel(5), QStringLiteral("3 / 10 ﾌｧｲﾙ"));
}

TEST_F(Form1ScanTest, EscReadAtIndexThreeStopsAtIndexTen)
{
    ScanFolder folder;
    addCameraFiles(folder, 25);
    appSettings().general.gNoVisible = 0;
    QObject::connect(&form(), &Form1::scanProgress, [&](int index) {
        if (index == 3) {
            // Pressed while file 3 is read: the window sees it at its next event point.
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &form();
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
    });
    scan(folder);

    EXPECT_EQ(model().rowCount(), 11);
    EXPECT_EQ(panel(1), QStringLiteral(" ﾌｧｲﾙの読み込みを中断しました。"));
    EXPECT_EQ(panel(5), QStringLiteral("11 / 25 ﾌｧｲﾙ"));
    EXPECT_EQ(form().commandState(), 3);
    // The list followed the scan to its newest item.
    EXPECT_EQ(form().listView()->currentIndex().row(), 10);
}

TEST_F(Form1ScanTest, StopButtonStopsTheScan)
{
    ScanFolder folder;
    addCameraFiles(folder, 15);
    QObject::connect(&form(), &Form1::scanProgress, [&](int index) {
        if (index == 0)
            form().toolButton(QStringLiteral("Stop"))->trigger();
    });
    scan(folder);
    EXPECT_EQ(model().rowCount(), 1);
    EXPECT_EQ(panel(1), QStringLiteral(" ﾌｧｲﾙの読み込みを中断しました。"));
}

TEST_F(Form1ScanTest, DamagedPictureIsLoggedOthersListedWithoutGaps)
{
    ScanFolder folder;
    folder.addCamera(QStringLiteral("a.jpg"));
    // A plain JPEG's tables, no picture.
    folder.write(QStringLiteral("b.jpg"), writefixtures::plainJpeg(QSize(800, 600)).left(300));
    folder.addPlain(QStringLiteral("c.jpg"), 64, 48);
    scan(folder);

    EXPECT_EQ(names(model()), QStringList({"a.jpg", "c.jpg"}));
    const QStringList logged = loggedLines(form());
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(QStringLiteral(" : BAD PIC  : "))) << qPrintable(logged[0]);
    // The drawn picture: red text, its size as ten digits.
    EXPECT_EQ(model().data(model().index(1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(model().tag(1), QStringLiteral("0006400048"));
    EXPECT_EQ(panel(1), QStringLiteral(" 2 ﾌｧｲﾙを読み込みました。"));
}

TEST_F(Form1ScanTest, ThumbnailSizeFollowsTheSetting)
{
    ScanFolder folder;
    folder.addPlain(QStringLiteral("tall.jpg"), 48, 96);
    appSettings().general.gThumbSize = 0;
    scan(folder);
    EXPECT_EQ(model().imageSize(), QSize(200, 150));
    EXPECT_EQ(model().picture(0).size(), QSize(200, 150));
    EXPECT_EQ(form().listView()->iconSize(), QSize(200, 150));
}

TEST_F(Form1ScanTest, ConversionQuestionOncePerScanAndNoKeepsPlainFiles)
{
    ScanFolder folder;
    addPlainFiles(folder, 3);
    appSettings().general.Jpg2Exif = 0;
    for (int pass = 0; pass < 2; ++pass) {
        m_prompts.queueAnswer(PromptAnswer::No);
        if (pass == 0)
            scan(folder);
        else
            form().toolButton(QStringLiteral("Reload"))->trigger();
    }
    QList<RecordingPrompter::Request> questions;
    for (const RecordingPrompter::Request &request : m_prompts.requests()) {
        if (request.kind == RecordingPrompter::Kind::Message)
            questions.append(request);
    }
    ASSERT_EQ(questions.size(), 2); // once in each scan
    EXPECT_EQ(questions[0].icon, PromptIcon::Information);
    EXPECT_EQ(questions[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(questions[0].title, kQuestionTitle);
    EXPECT_EQ(questions[0].text, kQuestionText);
    EXPECT_EQ(model().rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(model().isFromExif(row));
}

TEST_F(Form1ScanTest, YesConvertsAndLaterFilesListFromTheirNewThumbnails)
{
    ScanFolder folder;
    addPlainFiles(folder, 3);
    appSettings().general.Jpg2Exif = 0;
    m_prompts.queueAnswer(PromptAnswer::Yes);
    answerNextModalDialog([](QWidget *dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("frmJpg2Exif"));
        dialog->findChild<QPushButton *>(QStringLiteral("comOKbutton"))->click();
    });
    scan(folder);

    ASSERT_EQ(model().rowCount(), 3);
    EXPECT_FALSE(model().isFromExif(0)); // the file at which the question came
    EXPECT_TRUE(model().isFromExif(1));
    EXPECT_TRUE(model().isFromExif(2));
    ExifData exif;
    exif.SetExif(folder.file(QStringLiteral("p00.jpg")));
    EXPECT_TRUE(exif.IsExif());
    EXPECT_EQ(panel(1), QStringLiteral(" 3 ﾌｧｲﾙを読み込みました。"));
}

TEST_F(Form1ScanTest, ConvertCommandReloadsTheList)
{
    ScanFolder folder;
    addPlainFiles(folder, 2);
    scan(folder);
    ASSERT_FALSE(model().isFromExif(0));
    form().mnuButtonSetting(4);
    ASSERT_TRUE(form().toolButton(QStringLiteral("jpg2Exif"))->isEnabled());

    answerNextModalDialog([](QWidget *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("comOKbutton"))->click();
    });
    form().toolButton(QStringLiteral("jpg2Exif"))->trigger();
    EXPECT_TRUE(model().isFromExif(0));
    EXPECT_TRUE(model().isFromExif(1));
    EXPECT_EQ(panel(1), QStringLiteral("2 ﾌｧｲﾙを変換しました。"));
    EXPECT_EQ(form().commandState(), 3);
}

TEST_F(Form1ScanTest, SelectAllSelectsEveryItem)
{
    ScanFolder folder;
    addCameraFiles(folder, 4);
    scan(folder);
    form().toolButton(QStringLiteral("SelAll"))->trigger();
    EXPECT_EQ(form().listView()->selectionModel()->selectedIndexes().size(), 4);
    EXPECT_EQ(form().listView()->currentIndex().row(), 0);
    EXPECT_EQ(panel(1), QStringLiteral(" 4 ﾌｧｲﾙを選択しました。"));
    EXPECT_EQ(form().commandState(), 4);
}

TEST_F(Form1ScanTest, DoubleClickWithoutSelectionAsksForAPicture)
{
    form().ListView1_DblClick();
    EXPECT_EQ(panel(1), QStringLiteral("最初に画像ﾌｧｲﾙを開いて下さい。"));
}

TEST_F(Form1ScanTest, DoubleClickAndEnterOpenTheViewer)
{
    ScanFolder folder;
    addCameraFiles(folder, 2);
    scan(folder);
    const QModelIndex second = model().index(1);
    form().listView()->setCurrentIndex(second);

    QCoreApplication::processEvents(); // lays the items out
    const QRect itemRect = form().listView()->visualRect(second);
    ASSERT_FALSE(itemRect.isEmpty());
    QTest::mouseClick(form().listView()->viewport(), Qt::LeftButton, {}, itemRect.center());
    QTest::mouseDClick(form().listView()->viewport(), Qt::LeftButton, {}, itemRect.center());
    const QString expected = folder.file(QStringLiteral("c01.jpg"));
    EXPECT_EQ(appSettings().general.currentPicture, expected);
    const auto viewers = [] {
        QList<frmPictEX *> open;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *viewer = qobject_cast<frmPictEX *>(window); viewer && viewer->isVisible())
                open.append(viewer);
        }
        return open;
    };
    ASSERT_EQ(viewers().size(), 1);
    EXPECT_EQ(viewers()[0]->picturePath(), expected);

    // Enter on the list opens one more viewer, modeless beside the first.
    form().activateWindow();
    form().listView()->setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form(),
                    Qt::Key_Return);
    ASSERT_EQ(viewers().size(), 2);
    for (frmPictEX *viewer : viewers())
        EXPECT_EQ(viewer->picturePath(), expected);
}

TEST_F(Form1ScanTest, DirectExternalProgramGetsTheFullPath)
{
    QTemporaryDir tools;
    const QString output = tools.filePath(QStringLiteral("argument.txt"));
    const QString script = tools.filePath(QStringLiteral("viewer.sh"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1.part' && mv '%1.part' '%1'\n")
                   .arg(output)
                   .toUtf8());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    ExProgramSettings &exProgram = appSettings().exProgram;
    exProgram.ExProgram[0] = script;
    exProgram.ExProSW = 0;
    exProgram.ExProDirect = 1;
    exProgram.gDefExPro = true;

    ScanFolder folder;
    addCameraFiles(folder, 1);
    scan(folder);
    form().listView()->setCurrentIndex(model().index(0));
    const QString expected = folder.file(QStringLiteral("c00.jpg"));
    form().ListView1_DblClick();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(output); }, 5000));
    EXPECT_EQ(readText(output), expected);
    EXPECT_EQ(appSettings().general.currentPicture, expected);

    // The pop-up's item passes the same full path.
    QFile::remove(output);
    form().popExOpen_Click();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(output); }, 5000));
    EXPECT_EQ(readText(output), expected);
    for (QWidget *window : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<frmPictEX *>(window), nullptr) << "no viewer with a direct program";
}

TEST_F(Form1ScanTest, UnreadableFolderLogsAndEmptiesTheList)
{
    ScanFolder folder;
    addCameraFiles(folder, 2);
    scan(folder);
    ASSERT_EQ(model().rowCount(), 2);

    m_prompts.queueOpenFile(folder.path() + QStringLiteral("gone/any.jpg"));
    form().command(QStringLiteral("mnuFileOpen"))->trigger();
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_EQ(form().commandState(), 5);
    ASSERT_EQ(loggedLines(form()).size(), 1);
    EXPECT_TRUE(loggedLines(form())[0].contains(QStringLiteral(" : display_th : ")));
}

// While a scan runs only Stop and Esc act: a click, an arrow key, a right click, Enter and
// File > Open leave the scanning state and the scanned folder alone; the state follows the end.
TEST_F(Form1ScanTest, ListInputDuringAScanLeavesTheScanAlone)
{
    ScanFolder folder;
    addPlainFiles(folder, 25);
    appSettings().general.gNoVisible = 0; // the list is shown and selects its newest item
    std::optional<int> stateAfterInput;
    bool stopEnabled = false;
    bool popupShown = false;
    bool viewerOpened = false;
    QObject::connect(&form(), &Form1::scanProgress, [&](int index) {
        if (index != 11)
            return;
        QListView *list = form().listView();
        list->doItemsLayout(); // as the last event point would have
        const QPoint newest = list->visualRect(list->currentIndex()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, newest);
        QTest::keyClick(list, Qt::Key_Left);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, newest);
        form().Form_KeyPress(13);
        form().command(QStringLiteral("mnuFileOpen"))->trigger();
        stateAfterInput = form().commandState();
        stopEnabled = form().toolButton(QStringLiteral("Stop"))->isEnabled();
        popupShown = form().popupMenu()->isVisible();
        for (QWidget *window : QApplication::topLevelWidgets())
            viewerOpened = viewerOpened || qobject_cast<frmPictEX *>(window) != nullptr;
    });
    scan(folder);
    form().popupMenu()->hide();

    EXPECT_EQ(stateAfterInput, 2);
    EXPECT_TRUE(stopEnabled);
    EXPECT_FALSE(popupShown);
    EXPECT_FALSE(viewerOpened);
    EXPECT_EQ(m_prompts.requests().size(), 1); // only the Open that started the scan
    EXPECT_EQ(model().rowCount(), 25);
    EXPECT_EQ(form().shownFolder(), folder.path());
    EXPECT_EQ(form().commandState(), 3);
}

// A pop-up item can be clicked exactly when the command it runs can, however the selection
// came about; without a selection every item is off.
TEST_F(Form1ScanTest, PopupItemsAgreeWithTheCommandsTheyRun)
{
    const QList<QPair<QString, QString>> popupTwins = {
        {"popSlideShow", "mnuFileSlideShow"}, {"popVisible", "mnuEditVisible"},
        {"popHide", "mnuEditHide"},           {"popCopyFile", "mnuFileCopy"},
        {"popMoveFile", "mnuFileMove"},       {"popRenameFile", "mnuFileRenameOrigin"},
        {"popDelFile", "mnuFileDel"},         {"popWallPaper", "mnuEditWallPaper"},
        {"pop2Exif", "mnuEdit2Exif"},         {"popRotate", "mnuEditRotate"},
    };
    struct Case {
        const char *what;
        int pictures;
        bool selectedBefore;
        bool ontoItem;
        bool selection; // after the click
    };
    const QList<Case> cases = {
        {"onto an item, nothing selected", 2, false, true, true},
        {"onto the selected item", 2, true, true, true},
        {"beside the items, nothing selected", 2, false, false, false},
        {"empty folder", 0, false, false, false},
    };
    for (const Case &c : cases) {
        ScanFolder folder;
        addPlainFiles(folder, c.pictures);
        scan(folder);
        QListView *list = form().listView();
        if (c.selectedBefore)
            list->setCurrentIndex(model().index(0));
        QCoreApplication::processEvents(); // lays the items out
        const QPoint where =
            c.ontoItem ? list->visualRect(model().index(0)).center()
                       : QPoint(list->viewport()->width() - 4, list->viewport()->height() - 4);
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, where);

        EXPECT_TRUE(form().popupMenu()->isVisible()) << c.what;
        EXPECT_EQ(form().command(QStringLiteral("popOpen"))->isEnabled(), c.selection) << c.what;
        for (const auto &[popup, twin] : popupTwins) {
            EXPECT_EQ(form().command(popup)->isEnabled(),
                      c.selection && form().command(twin)->isEnabled())
                << c.what << " " << qPrintable(popup);
        }
        // Not vacuous: the conversion runs on any selection.
        EXPECT_EQ(form().command(QStringLiteral("pop2Exif"))->isEnabled(), c.selection) << c.what;
        form().popupMenu()->hide();
    }
}

// "Open with" and the command line: a folder is read, a picture's folder is read with that
// picture selected, and a path that is not there is told and leaves the list empty.
TEST_F(Form1ScanTest, StartPathOpensFolderOrPicture)
{
    ScanFolder folder;
    addCameraFiles(folder, 3);
    struct Case {
        QString path;
        int selectedRow;
    };
    const Case cases[] = {{folder.path().chopped(1), -1},
                          {folder.file(QStringLiteral("c01.jpg")), 1}};
    for (const Case &start : cases) {
        SCOPED_TRACE(start.path.toStdString());
        appSettings().general.currentPicture.clear();
        form().listView()->clearSelection();
        form().openStartPath(start.path);
        EXPECT_EQ(form().shownFolder(), folder.path());
        EXPECT_EQ(names(model()), QStringList({"c00.jpg", "c01.jpg", "c02.jpg"}));
        const bool pictureNamed = start.selectedRow >= 0;
        EXPECT_EQ(form().listView()->selectionModel()->isRowSelected(1), pictureNamed);
        EXPECT_EQ(appSettings().general.currentPicture, pictureNamed ? start.path : QString());
    }
}

TEST_F(Form1ScanTest, MissingStartPathIsToldAndListStaysEmpty)
{
    const QString missing = m_storeFolder.filePath(QStringLiteral("gone/a.jpg"));
    m_prompts.queueAnswer(PromptAnswer::Ok);
    form().openStartPath(missing);

    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(m_prompts.requests()[0].text.endsWith(missing));
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_TRUE(form().shownFolder().isEmpty());
    EXPECT_TRUE(form().isVisible());
}

// OK in the options dialog: the list takes the new background and, with hot tracking, the
// item under the pointer becomes the selected picture.
TEST_F(Form1ScanTest, OptionsOkAppliesLookAndHotTracking)
{
    ScanFolder folder;
    addPlainFiles(folder, 2);
    scan(folder);
    appSettings().general.Hottrack = 1;
    m_prompts.queueColor(QColor(10, 20, 30));
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmOPT1 *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton *>(QStringLiteral("OPTcolor1"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("OPTok"))->click();
    });
    form().command(QStringLiteral("mnuOption"))->trigger();
    QListView *list = form().listView();
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(10, 20, 30));

    QCoreApplication::processEvents(); // lays the items out
    QTest::mouseMove(list->viewport(), list->visualRect(model().index(1)).center());
    EXPECT_EQ(appSettings().general.currentPicture, folder.file(QStringLiteral("p01.jpg")));
    EXPECT_TRUE(list->selectionModel()->isSelected(model().index(1)));
}
