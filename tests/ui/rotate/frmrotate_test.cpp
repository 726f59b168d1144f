#include <gtest/gtest.h>

#include <optional>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "core/errorlog.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "exif/jpgsize.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/writefixtures.h"
#include "ui/help/help.h"
#include "ui/help/helpwindow.h"
#include "ui/rotate/frmrotate.h"

namespace
{

QByteArray progressiveJpeg()
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 30));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPG");
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return data;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

VelmorRotPort failingBridge(QString *)
{
    return [](const QString &, const QString &, qint32) { return qint32(101); };
}

VelmorRotPort missingBridge(QString *error)
{
    *error = QStringLiteral("libspinwell.so: cannot open shared object file");
    return {};
}

const QString kBaselineOnly =
    QStringLiteral("本ﾌﾟﾛｸﾞﾗﾑでは、基本DCT方式以外のJPGﾌｧｲﾙは処理できません。");

class RotationDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + u'/';
        GeneralSettings &general = appSettings().general;
        general.RotBackUp = 1;
        general.RotBackUpFolder = QStringLiteral("Original");
        general.RotThumbVal = 0;
        general.RotThumbBackColor = 0;
    }

    // Writes the pictures and lists them in the model, in this order.
    void addPictures(const QList<QPair<QString, QByteArray>> &pictures)
    {
        for (const auto &[name, data] : pictures) {
            QFile file(m_folder + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(data);
            m_model.append(name, true, {}, "x");
        }
    }

    void select(const QList<int> &rows)
    {
        for (const int row : rows)
            m_selection.select(m_model.index(row), QItemSelectionModel::Select);
    }

    std::unique_ptr<frmRotate> open(frmRotate::BridgeLoader loader = loadVelmorRot)
    {
        auto dialog = std::make_unique<frmRotate>(RotateTarget{m_folder, &m_model, &m_selection},
                                                  nullptr, loader);
        dialog->show();
        return dialog;
    }

    template <typename T> static T *control(frmRotate &dialog, const QString &name)
    {
        T *widget = dialog.findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << qPrintable(name);
        return widget;
    }

    static bool runnable(frmRotate &dialog)
    {
        return control<QPushButton>(dialog, QStringLiteral("Cmd_OK"))->isEnabled();
    }

    static QString info(frmRotate &dialog)
    {
        return control<QLabel>(dialog, QStringLiteral("LblInfo"))->text();
    }

    static QSize frameSize(const QString &path)
    {
        const JpegSize size = GetJpegSize(path);
        return QSize(size.width, size.height);
    }

    QTemporaryDir m_dir;
    QString m_folder;
    ThumbnailListModel m_model{[](const QByteArray &, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        return image;
    }};
    QItemSelectionModel m_selection{&m_model};
    RecordingPrompter m_prompts;
};

} // namespace

// One selected entry is turned through the real bridge: the previews are real
// turns of a small copy, the picture (not a stale current picture) is turned,
// its original is kept and its entry ghosted.
TEST_F(RotationDialog, SingleModeTurnsTheSelectedPicture)
{
    const QByteArray original = cameraJpeg();
    addPictures({{QStringLiteral("a.jpg"), original}, {QStringLiteral("b.jpg"), original}});
    appSettings().general.currentPicture = m_folder + QStringLiteral("a.jpg");
    select({1});
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("画像の回転 - b.jpg"));
    EXPECT_TRUE(runnable(*dialog));
    for (int code = 0; code < 4; ++code) {
        const QPixmap preview =
            control<QLabel>(*dialog, QStringLiteral("ImgThm_%1").arg(code))->pixmap();
        EXPECT_EQ(preview.size(), QSize(112, 112)) << code;
    }
    EXPECT_TRUE(control<QWidget>(*dialog, QStringLiteral("Shape1_0"))->isVisible());
    control<QRadioButton>(*dialog, QStringLiteral("OptRot_1"))->click();
    EXPECT_FALSE(control<QWidget>(*dialog, QStringLiteral("Shape1_0"))->isVisible());
    EXPECT_TRUE(control<QWidget>(*dialog, QStringLiteral("Shape1_1"))->isVisible());

    control<QPushButton>(*dialog, QStringLiteral("Cmd_OK"))->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->turnedCount(), 1);
    EXPECT_EQ(frameSize(m_folder + QStringLiteral("b.jpg")), QSize(480, 640));
    EXPECT_EQ(readFile(m_folder + QStringLiteral("Original/b.jpg")), original);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("a.jpg")), original);
    EXPECT_TRUE(m_model.isGhosted(1));
    EXPECT_FALSE(m_model.isGhosted(0));
    m_prompts.expectAllAnswered();
}

// Every prompt of the dialog, its icon, title and text exactly, and what the
// answer leaves on disk.
TEST_F(RotationDialog, PromptsAndTheirOutcomes)
{
    struct Case {
        const char *what;
        qint32 backUp;
        QString backupName;
        std::optional<PromptAnswer> answer;
        PromptIcon icon;
        QString title;
        QString text;
        bool turned;
        // Settings changed while the dialog is open: the run takes them.
        std::optional<QPair<qint32, QString>> changedTo = std::nullopt;
    };
    const QString overwriteTitle = QStringLiteral("ﾌｧｲﾙの上書き");
    const QString overwrite = QStringLiteral("ﾌｧｲﾙを上書きします。よろしいですか？ ");
    const QString backupTitle = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞ作成のｴﾗｰ");
    const QString badName = QStringLiteral("ﾊﾞｯｸｱｯﾌﾟﾌｫﾙﾀﾞが作成できません。\r\n\r\n"
                                           " \\ / : , ; * ? \" < > | は使用できません。 ");
    const QList<Case> cases = {
        {"no backup, No", 0, QStringLiteral("Original"), PromptAnswer::No, PromptIcon::Exclamation,
         overwriteTitle, overwrite, false},
        {"no backup, Yes", 0, QStringLiteral("Original"), PromptAnswer::Yes,
         PromptIcon::Exclamation, overwriteTitle, overwrite, true},
        {"bad backup name", 1, QStringLiteral("a?b"), PromptAnswer::Ok, PromptIcon::Critical,
         backupTitle, badName, false},
        {"backup name ..", 1, QStringLiteral(".."), PromptAnswer::Ok, PromptIcon::Critical,
         backupTitle, badName, false},
        {"backups turned off while open", 1, QStringLiteral("Original"), PromptAnswer::Yes,
         PromptIcon::Exclamation, overwriteTitle, overwrite, true,
         QPair<qint32, QString>(0, QStringLiteral("Original"))},
        {"backups turned on with no name while open", 0, QStringLiteral("Original"),
         PromptAnswer::Ok, PromptIcon::Critical, backupTitle, badName, false,
         QPair<qint32, QString>(1, QString())},
    };
    const QByteArray original = cameraJpeg();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        m_model.clear();
        addPictures({{QStringLiteral("p.jpg"), original}});
        select({0});
        appSettings().general.RotBackUp = c.backUp;
        appSettings().general.RotBackUpFolder = c.backupName;
        m_prompts.clear();
        m_prompts.queueAnswer(*c.answer);
        auto dialog = open();
        control<QRadioButton>(*dialog, QStringLiteral("OptRot_2"))->click();
        if (c.changedTo) {
            appSettings().general.RotBackUp = c.changedTo->first;
            appSettings().general.RotBackUpFolder = c.changedTo->second;
        }
        if (runnable(*dialog))
            control<QPushButton>(*dialog, QStringLiteral("Cmd_OK"))->click();
        ASSERT_EQ(m_prompts.requests().size(), 1);
        EXPECT_EQ(m_prompts.requests()[0].icon, c.icon);
        EXPECT_EQ(m_prompts.requests()[0].title, c.title);
        EXPECT_EQ(m_prompts.requests()[0].text, c.text);
        EXPECT_EQ(readFile(m_folder + QStringLiteral("p.jpg")) != original, c.turned);
        EXPECT_EQ(m_model.isGhosted(0), c.turned);
        EXPECT_EQ(QDir(m_folder).entryList(QDir::Files | QDir::Hidden), QStringList{"p.jpg"});
        EXPECT_FALSE(QFile::exists(QStringLiteral("/p.jpg")));
        if (c.icon == PromptIcon::Critical) {
            EXPECT_FALSE(runnable(*dialog));
            EXPECT_TRUE(control<QPushButton>(*dialog, QStringLiteral("Cmd_Setting"))->isEnabled());
            EXPECT_EQ(appSettings().general.RotBackUpFolder, QStringLiteral("ORIGINAL"));
        }
    }
}

// A batch leaves out progressive and already turned entries, counts the rest,
// and stops before the next picture when 中断 is clicked.
TEST_F(RotationDialog, BatchSkipsUnusableEntriesAndStopsOnAbort)
{
    const QByteArray original = cameraJpeg();
    addPictures({{QStringLiteral("1.jpg"), original},
                 {QStringLiteral("prog.jpg"), progressiveJpeg()},
                 {QStringLiteral("2.jpg"), original},
                 {QStringLiteral("turned.jpg"), original},
                 {QStringLiteral("3.jpg"), original},
                 {QStringLiteral("4.jpg"), original}});
    m_model.setGhosted(3);
    select({0, 1, 2, 3, 4, 5});
    const QColor progColor = m_model.data(m_model.index(1), Qt::ForegroundRole).value<QColor>();
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("画像の一括回転 "));
    EXPECT_EQ(info(*dialog),
              QStringLiteral("4 画像を一括で回転します。\n"
                             "回転させたい方向を選択し、実行ﾎﾞﾀﾝを押してください。"));
    EXPECT_FALSE(m_selection.isSelected(m_model.index(1)));
    EXPECT_FALSE(m_selection.isSelected(m_model.index(3)));
    EXPECT_EQ(m_model.data(m_model.index(1), Qt::ForegroundRole).value<QColor>(),
              QColor(255 - progColor.red(), 255 - progColor.green(), 255 - progColor.blue()));

    auto *cancel = control<QPushButton>(*dialog, QStringLiteral("Cmd_Cancel"));
    auto *fileNumber = control<QLabel>(*dialog, QStringLiteral("LblFileNumber"));
    EXPECT_EQ(fileNumber->text(), QStringLiteral("0 / 0 ﾌｧｲﾙ"));
    QStringList captions;
    std::optional<Qt::CursorShape> pointerAfterAbort;
    QTimer aborter;
    QObject::connect(&aborter, &QTimer::timeout, [&] {
        if (fileNumber->text() == QStringLiteral("3 / 6 ﾌｧｲﾙ") && captions.isEmpty()) {
            captions.append(cancel->text());
            cancel->click();
            pointerAfterAbort = QApplication::overrideCursor()->shape();
        }
    });
    aborter.start(0);
    control<QRadioButton>(*dialog, QStringLiteral("OptRot_2"))->click();
    control<QPushButton>(*dialog, QStringLiteral("Cmd_OK"))->click();
    aborter.stop();

    EXPECT_EQ(captions, QStringList{QStringLiteral("中断")});
    EXPECT_EQ(pointerAfterAbort, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(fileNumber->text(), QStringLiteral("3 / 6 ﾌｧｲﾙ"));
    EXPECT_EQ(dialog->turnedCount(), 2);
    EXPECT_EQ(frameSize(m_folder + QStringLiteral("2.jpg")), QSize(640, 480));
    EXPECT_NE(readFile(m_folder + QStringLiteral("2.jpg")), original);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("3.jpg")), original);
    EXPECT_TRUE(m_model.isGhosted(2));
    EXPECT_FALSE(m_model.isGhosted(4));
}

// What the dialog says when it cannot run, and that 実行 is then off.
TEST_F(RotationDialog, RefusesToRunWhenItCannot)
{
    struct Case {
        const char *what;
        QList<int> selected;
        frmRotate::BridgeLoader loader;
        QString promptTitle; // empty: no prompt
        QString promptText;
        QString info;
    };
    const QList<Case> cases = {
        {"nothing selected",
         {},
         loadVelmorRot,
         {},
         {},
         QStringLiteral("回転する画像が選択されていません。\n"
                        "一覧で画像を選択してから実行して下さい。")},
        {"only a progressive picture", {1}, loadVelmorRot, {}, {}, kBaselineOnly},
        {"previews fail",
         {0},
         failingBridge,
         QStringLiteral("原因不明ののｴﾗｰ"),
         QStringLiteral("原因不明のｴﾗｰです。作者までご連絡ください。"),
         QStringLiteral("画像を選択し、実行ﾎﾞﾀﾝを押して下さい。\n"
                        "「回転なし」はｻﾑﾈｲﾙの再生成を行います。")},
        {"library missing",
         {0},
         missingBridge,
         QStringLiteral("回転ﾗｲﾌﾞﾗﾘのｴﾗｰ"),
         QStringLiteral("回転ﾗｲﾌﾞﾗﾘ(libspinwell.so)が読み込めません。\r\n\r\n"
                        "libspinwell.so: cannot open shared object file"),
         QStringLiteral("回転ﾗｲﾌﾞﾗﾘが読み込めません。\n処理を中断します。")},
    };
    addPictures({{QStringLiteral("a.jpg"), cameraJpeg()},
                 {QStringLiteral("prog.jpg"), progressiveJpeg()},
                 {QStringLiteral("c.jpg"), cameraJpeg()}});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        m_selection.clearSelection();
        select(c.selected);
        m_prompts.clear();
        if (!c.promptTitle.isEmpty())
            m_prompts.queueAnswer(PromptAnswer::Ok);
        auto dialog = open(c.loader);
        EXPECT_FALSE(runnable(*dialog));
        EXPECT_EQ(info(*dialog), c.info);
        ASSERT_EQ(m_prompts.requests().size(), c.promptTitle.isEmpty() ? 0 : 1);
        if (!c.promptTitle.isEmpty()) {
            EXPECT_EQ(m_prompts.requests()[0].icon, PromptIcon::Critical);
            EXPECT_EQ(m_prompts.requests()[0].title, c.promptTitle);
            EXPECT_EQ(m_prompts.requests()[0].text, c.promptText);
        }
    }
    EXPECT_EQ(readFile(m_folder + QStringLiteral("a.jpg")), cameraJpeg());
}

// A file that fails is logged with its reason and the batch ends with one
// summary; closing the window during a batch stops it like 中断.
TEST_F(RotationDialog, BatchLogsFailuresAndStopsWhenClosed)
{
    const QByteArray original = cameraJpeg();
    addPictures({{QStringLiteral("1.jpg"), original},
                 {QStringLiteral("bad.jpg"), original},
                 {QStringLiteral("2.jpg"), original},
                 {QStringLiteral("3.jpg"), original}});
    select({0, 1, 2, 3});
    const auto failingOnBad = [](QString *error) -> VelmorRotPort {
        const VelmorRotPort bridge = loadVelmorRot(error);
        return [bridge](const QString &source, const QString &destination, qint32 code) {
            return source.endsWith(QStringLiteral("/bad.jpg")) ? qint32(102)
                                                               : bridge(source, destination, code);
        };
    };
    QStringList logged;
    setErrorLogSink([&logged](const QString &line) { logged.append(line); });
    m_prompts.queueAnswer(PromptAnswer::Ok);
    auto dialog = open(failingOnBad);
    auto *fileNumber = control<QLabel>(*dialog, QStringLiteral("LblFileNumber"));
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (fileNumber->text() == QStringLiteral("4 / 4 ﾌｧｲﾙ"))
            dialog->close();
    });
    closer.start(0);
    control<QRadioButton>(*dialog, QStringLiteral("OptRot_1"))->click();
    control<QPushButton>(*dialog, QStringLiteral("Cmd_OK"))->click();
    closer.stop();
    setErrorLogSink({});

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->turnedCount(), 2);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("bad.jpg")), original);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("3.jpg")), original);
    EXPECT_EQ(frameSize(m_folder + QStringLiteral("2.jpg")), QSize(480, 640));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(m_folder + QStringLiteral("bad.jpg"))) << qPrintable(logged[0]);
    ASSERT_EQ(m_prompts.requests().size(), 1);
    EXPECT_EQ(m_prompts.requests()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(m_prompts.requests()[0].title, QStringLiteral("画像の回転"));
    EXPECT_EQ(m_prompts.requests()[0].text,
              QStringLiteral("1 ﾌｧｲﾙを回転できませんでした。\r\n\r\n"
                             "bad.jpg: 回転ｴﾝｼﾞﾝが対応していません (102)"));
}

// The help button shows the dialog's topic with the contents beside it, as every dialog's does.
TEST_F(RotationDialog, HelpShowsItsTopicWithTheContents)
{
    addPictures({{QStringLiteral("a.jpg"), cameraJpeg()}});
    select({0});
    auto dialog = open();
    showHelpIndex(QString());
    control<QPushButton>(*dialog, QStringLiteral("Cmd_Help"))->click();
    HelpWindow *help = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *shown = qobject_cast<HelpWindow *>(window); shown && shown->isVisible())
            help = shown;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentTopic(), QStringLiteral("rotate.html"));
    EXPECT_EQ(help->findChild<QTabWidget *>(QStringLiteral("helpPanes"))->currentIndex(), 0);
    closeAllHelp();
}

// The previews show the picture as the list does: a 640 x 480 shot its camera held upright
// (orientation 6) stands in the first one, and lies as stored with the setting off.
TEST_F(RotationDialog, PreviewsShowThePictureAsTheListDoes)
{
    CameraShot shot;
    shot.orientation = 6;
    addPictures({{QStringLiteral("p.jpg"), cameraJpeg(shot)}});
    select({0});
    const qint16 saved = appSettings().general.AutoOrient;
    const struct {
        qint16 autoOrient;
        QRect picture; // where the picture lies in the 112 x 112 preview
        const char *corners;
    } cases[] = {{1, {14, 0, 84, 112}, "cadb"}, {0, {0, 14, 112, 84}, "abcd"}};
    for (const auto &c : cases) {
        appSettings().general.AutoOrient = c.autoOrient;
        auto dialog = open();
        const QImage unturned =
            control<QLabel>(*dialog, QStringLiteral("ImgThm_0"))->pixmap().toImage();
        EXPECT_EQ(writefixtures::patternCorners(unturned, c.picture),
                  QString::fromLatin1(c.corners));
    }
    appSettings().general.AutoOrient = saved;
}
